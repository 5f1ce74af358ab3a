// SPDX-License-Identifier: MIT
#include "view/kept_picture.h"

#include "form/view_room.h"
#include "picture/downscale.h"
#include "view/zoomed_size.h"
#include "widgets/picture_box.h"

namespace {
constexpr qint64 full_picture_budget_pixels = 64'000'000;
constexpr qint64 full_picture_budget_bytes = qint64(256) << 20;

// Where each shown pixel covers whole two-by-two blocks of the full-size
// picture (6000 x 4000 at 50% and 10%), it is shrunk from the half-size
// picture, a quarter of the pixels to read, made the first time a zoom below
// 50% needs it: at 50% that is the shown picture itself, pixel for pixel, and
// below, two roundings are within one level of the exact average. Elsewhere it is shrunk from the
// full-size picture, as a half-size pixel straddling a shown pixel's edge would blur it. Either way
// the picture area shrinks only the part exposed.
void show_shrunk(const ViewRoom& room, QSize shown) {
    const QSize full = room.full_picture.size();
    if (full.width() % (2 * shown.width()) != 0 || full.height() % (2 * shown.height()) != 0) {
        room.P_in->set_picture_shrunk(room.full_picture, shown);
        return;
    }
    if (room.half_picture.isNull()) {
        // At 50% the exposed part shrunk from the full-size picture is the
        // same pixels: the half-size one is made for the zooms below only.
        if (shown == full / 2) {
            room.P_in->set_picture_shrunk(room.full_picture, shown);
            return;
        }
        room.half_picture = downscaled_copy(room.full_picture, full / 2);
    }
    if (shown == room.half_picture.size())
        room.P_in->set_picture(room.half_picture);
    else
        room.P_in->set_picture_shrunk(room.half_picture, shown);
}
} // namespace

bool fits_full_picture_budget(QSize full) {
    const qint64 pixels = qint64(full.width()) * full.height();
    return pixels <= full_picture_budget_pixels && pixels * 4 <= full_picture_budget_bytes;
}

bool keeps_full_picture(QSize full, QSize shown) {
    const bool magnified = shown.width() > full.width() || shown.height() > full.height();
    return shown == full || magnified || fits_full_picture_budget(full);
}

void keep_full_picture(const ViewRoom& room, const FileIdentity& file, const QImage& picture) {
    room.full_picture = picture; // shared with the picture area at 100% and above: no copy
    room.half_picture = QImage();
    room.full_picture_file = file;
}

bool show_kept_picture(const ViewRoom& room, double percent, const FileIdentity& file) {
    if (room.full_picture.isNull()) return false;
    const QSize full = room.full_picture.size();
    const QSize shown = zoomed_size(full, percent);
    if (!keeps_full_picture(full, shown)) return false;
    if (!(file == room.full_picture_file)) return false;
    show_full_picture_at(room, shown);
    return true;
}

void show_full_picture_at(const ViewRoom& room, QSize shown) {
    const QSize full = room.full_picture.size();
    if (shown.width() > full.width() || shown.height() > full.height())
        room.P_in->set_picture_magnified(room.full_picture, shown);
    else if (shown == full)
        room.P_in->set_picture(room.full_picture);
    else
        show_shrunk(room, shown);
}
