// SPDX-License-Identifier: MIT
#include "view/kept_picture.h"

#include "form/view_room.h"
#include "picture/downscale.h"
#include "picture/picture_memory.h"
#include "view/decode_ahead.h"
#include "view/zoomed_size.h"
#include "widgets/picture_box.h"

namespace {
constexpr qint64 full_picture_budget_pixels = 64'000'000;
constexpr qint64 full_picture_budget_bytes = qint64(256) << 20;
// Beside the picture shown and the next one decoded ahead the window may use
// 32 MiB more, of which the view's own buffers take a few.
constexpr qint64 smaller_bytes_beside_picture_ahead = qint64(16) << 20;

// The whole number of times `shown` goes into `full` along one side; 1 when
// it does not go a whole number of times.
int exact_ratio(int full, int shown) {
    return full % shown == 0 ? full / shown : 1;
}

// True when a zoom whose sides shrink by the exact ratios `rx` and `ry` may be
// shrunk from the smaller picture of `factors`: along each side the factor is
// 1, or divides the ratio (each shown pixel covers whole smaller pixels) and
// is below it (a smaller picture of the shown size along a side would round
// each pixel twice where one shrink from the full picture is exact).
bool serves(QSize factors, int rx, int ry) {
    const auto side = [](int k, int r) { return k == 1 || (r % k == 0 && k < r); };
    return side(factors.width(), rx) && side(factors.height(), ry);
}

// The factors of the smaller picture to make for such a zoom: the smallest
// picture that serves it, at most a third of the full one's memory, so that
// making it maps (fresh memory is most of what making it costs) and every step
// then reads as few pixels as can be; empty when there is none.
QSize smaller_factors_for(int rx, int ry) {
    QSize best;
    for (int kx = 1; kx <= rx; ++kx)
        for (int ky = 1; ky <= ry; ++ky)
            if (kx * ky >= 3 && serves({kx, ky}, rx, ry) &&
                (best.isEmpty() || kx * ky > best.width() * best.height()))
                best = QSize(kx, ky);
    return best;
}

// Where each shown pixel covers whole blocks of the full-size picture (five by
// five at 10% of 6000 x 4000; five by one at 10% of 8660 x 5773, whose height
// does not divide), it is shrunk from the smaller picture made of those
// blocks, a fraction of the pixels to read: two roundings, within one level of
// the exact average. Elsewhere it is shrunk from the full-size picture, as a
// smaller pixel straddling a shown pixel's edge would blur it. Either way the
// picture area shrinks only the part exposed.
void show_shrunk(const ViewRoom& room, QSize shown) {
    const QSize full = room.full_picture.size();
    const qint64 full_bytes = room.full_picture.sizeInBytes();
    const int rx = exact_ratio(full.width(), shown.width());
    const int ry = exact_ratio(full.height(), shown.height());
    // The smaller picture's sides divide the full one's: their ratios are its factors.
    const QSize smaller = room.smaller_picture.size();
    if (room.smaller_picture.isNull() ||
        !serves({full.width() / smaller.width(), full.height() / smaller.height()}, rx, ry)) {
        const QSize factors = smaller_factors_for(rx, ry);
        // Beside a picture decoded ahead a large copy would pass the memory
        // the two pictures may take (a fifth of 50 megapixels is 38 MiB):
        // shrunk from the full-size picture then, more slowly.
        const qint64 smaller_bytes =
            factors.isEmpty() ? 0 : full_bytes / (factors.width() * factors.height());
        if (factors.isEmpty() ||
            (picture_ahead_bytes(room) > 0 && smaller_bytes > smaller_bytes_beside_picture_ahead)) {
            room.P_in->set_picture_shrunk(room.full_picture, shown);
            return;
        }
        room.smaller_picture = downscaled_copy(
            room.full_picture, {full.width() / factors.width(), full.height() / factors.height()});
    }
    room.P_in->set_picture_shrunk(room.smaller_picture, shown);
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
    room.smaller_picture = QImage();
    room.full_picture_file = file;
}

void keep_spare_memory(const ViewRoom& room, QImage memory) {
    // Smaller pictures are mapped afresh in a moment; this much memory is
    // zeroed by the system in tens of milliseconds.
    constexpr qint64 worth_keeping_bytes = qint64(8) << 20;
    QImage& spare = room.spare_memory;
    const qint64 shown = room.full_picture.isNull() ? room.P_in->picture().sizeInBytes()
                                                    : room.full_picture.sizeInBytes();
    if (spare.sizeInBytes() > 2 * shown) spare = QImage();
    if (memory.format() != QImage::Format_RGB32 || !memory.isDetached() ||
        memory.sizeInBytes() < worth_keeping_bytes || memory.sizeInBytes() <= spare.sizeInBytes() ||
        memory.sizeInBytes() > 2 * shown)
        return;
    mark_pixels_unwanted(memory);
    spare = std::move(memory);
}

void make_room_for_picture_ahead(const ViewRoom& room) {
    if (room.smaller_picture.sizeInBytes() <= smaller_bytes_beside_picture_ahead) return;
    room.smaller_picture = QImage();
    if (room.P_in->shrunk() && !room.full_picture.isNull())
        room.P_in->set_picture_shrunk(room.full_picture, room.P_in->size());
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
