// SPDX-License-Identifier: MIT
#include "view/kept_picture.h"

#include "form/F_main.h"
#include "picture/downscale.h"
#include "view/zoomed_size.h"

namespace {
constexpr qint64 kept_pixels = 64'000'000;
constexpr qint64 kept_bytes = qint64(256) << 20;

// Shows `percent` below 100% of the kept picture, shrunk from its full size.
void show_shrunk_from_kept(F_main& f, double percent) {
    // The shown picture of the step before is let go (or reused) before the
    // next is made, so a step holds the full-size picture and one shown one.
    QImage memory;
    if (f.P_in->picture().constBits() != f.full_picture.constBits()) {
        memory = f.P_in->picture();
        f.P_in->clear_picture();
    }
    f.P_in->set_picture(downscaled_copy(f.full_picture, zoomed_size(f.full_picture.size(), percent),
                                        std::move(memory)));
}
} // namespace

bool keeps_full_picture(QSize full) {
    const qint64 pixels = qint64(full.width()) * full.height();
    return pixels <= kept_pixels && pixels * 4 <= kept_bytes;
}

void keep_full_picture(F_main& f, const FileIdentity& file, const QImage& picture) {
    f.full_picture = picture; // shared with the picture area at 100% and above: no copy
    f.full_picture_file = file;
}

bool show_kept_picture(F_main& f, double percent, const FileIdentity& file) {
    if (f.full_picture.isNull()) return false;
    const QSize full = f.full_picture.size();
    const QSize shown = zoomed_size(full, percent);
    const bool magnified = shown.width() > full.width() || shown.height() > full.height();
    if (shown != full && !magnified && !keeps_full_picture(full)) return false;
    if (!(file == f.full_picture_file)) return false;
    if (magnified)
        f.P_in->set_picture_magnified(f.full_picture, shown);
    else if (shown == full)
        f.P_in->set_picture(f.full_picture);
    else
        show_shrunk_from_kept(f, percent);
    return true;
}
