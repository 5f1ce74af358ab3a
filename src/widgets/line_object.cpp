// SPDX-License-Identifier: MIT
#include "widgets/line_object.h"

#include "widgets/picture_box.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QRect LineObject::footprint() const {
    const float left = std::min(x1_, x2_), right = std::max(x1_, x2_);
    const float top = std::min(y1_, y2_), bottom = std::max(y1_, y2_);
    const int l = static_cast<int>(std::floor(left)) - 1;
    const int t = static_cast<int>(std::floor(top)) - 1;
    const int r = static_cast<int>(std::ceil(right)) + 1;
    const int b = static_cast<int>(std::ceil(bottom)) + 1;
    return QRect(QPoint(l, t), QPoint(r, b));
}

void LineObject::note_change() {
    if (!pending_) box_->line_changed(this);
}

namespace {

// Far beyond any picture area, and small enough that the stepping below
// cannot overflow.
constexpr double farthest = double(1 << 28);

qint64 to_pixel(double v) {
    return qint64(std::floor(std::clamp(v, -farthest, farthest) + 0.5));
}

} // namespace

void draw_line_pixels(QPainter& painter, const QLineF& line, const QRect& area) {
    if (!std::isfinite(line.x1()) || !std::isfinite(line.y1()) || !std::isfinite(line.x2()) ||
        !std::isfinite(line.y2()))
        return;
    const qint64 x1 = to_pixel(line.x1()), y1 = to_pixel(line.y1());
    const qint64 dx = to_pixel(line.x2()) - x1, dy = to_pixel(line.y2()) - y1;
    if (dx == 0 && dy == 0) return;

    // Stepping along the longer axis: pixel i (0 .. n - 1) of the n + 1 from
    // the first end point to the last, the last left out.
    const bool level = std::abs(dx) >= std::abs(dy);
    const qint64 n = level ? std::abs(dx) : std::abs(dy);
    const qint64 step = (level ? dx : dy) > 0 ? 1 : -1;
    const qint64 along0 = level ? x1 : y1, across0 = level ? y1 : x1;
    const qint64 across = level ? dy : dx;

    // Without an area, the painter's whole device: a line running far past it
    // (an export's band) is stepped along the pixels that can show only.
    QRect clip = area;
    if (!clip.isValid() && painter.device() != nullptr)
        clip = painter.worldTransform().inverted().mapRect(
            QRect(0, 0, painter.device()->width(), painter.device()->height()));
    qint64 first = 0, last = n - 1;
    if (clip.isValid()) {
        const qint64 low = level ? clip.left() : clip.top();
        const qint64 high = level ? clip.right() : clip.bottom();
        first = std::max(first, step > 0 ? low - along0 : along0 - high);
        last = std::min(last, step > 0 ? high - along0 : along0 - low);
    }
    if (first > last) return;

    // The pixel nearest the ideal line across it; halves stay towards the
    // first end, so a line covers what Qt's own line between the same points
    // covers, less the last point.
    const auto across_at = [&](qint64 i) {
        const qint64 off = (2 * i * std::abs(across) + n - 1) / (2 * n);
        return across0 + (across < 0 ? -off : off);
    };
    const auto point = [&](qint64 i, qint64 a) {
        const qint64 along = along0 + i * step;
        return level ? QPoint(int(along), int(a)) : QPoint(int(a), int(along));
    };
    // Each run of pixels on one row (column) is drawn as one level (upright) line.
    qint64 run_start = first;
    qint64 run_across = across_at(first);
    for (qint64 i = first + 1;; ++i) {
        const bool end = i > last;
        const qint64 a = end ? run_across : across_at(i);
        if (!end && a == run_across) continue;
        if (i - 1 == run_start)
            painter.drawPoint(point(run_start, run_across));
        else
            painter.drawLine(point(run_start, run_across), point(i - 1, run_across));
        if (end) break;
        run_start = i;
        run_across = a;
    }
}
