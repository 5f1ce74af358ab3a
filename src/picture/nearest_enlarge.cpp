// SPDX-License-Identifier: MIT
#include "picture/nearest_enlarge.h"

#include <algorithm>
#include <cstring>
#include <vector>

int source_index(qint64 shown, qint64 shown_len, qint64 src_len) {
    if (shown <= 0 || shown_len <= 0 || src_len <= 0) return 0;
    const qint64 index = shown * src_len / shown_len;
    return static_cast<int>(index < src_len ? index : src_len - 1);
}

namespace {

// Where the source pixels come from: an RGB32 image holding the picture's
// pixels from `origin` on (the picture itself, or a converted piece of it).
struct Rgb32Source {
    QImage pixels;
    QPoint origin;
};

// The picture columns the region's shown columns show, made once per call so
// the inner loop is a plain gather.
std::vector<int> column_table(const QRect& region, qint64 shown_width, qint64 picture_width,
                              int origin_x) {
    std::vector<int> columns(static_cast<size_t>(region.width()));
    for (int i = 0; i < region.width(); ++i)
        columns[i] = source_index(qint64(region.x()) + i, shown_width, picture_width) - origin_x;
    return columns;
}

// The picture rectangle a region draws from. The mapping never decreases, so
// the first and last shown pixels bound it.
QRect source_bounds(const QImage& picture, QSize shown, const QRect& region) {
    const int left = source_index(region.left(), shown.width(), picture.width());
    const int right = source_index(region.right(), shown.width(), picture.width());
    const int top = source_index(region.top(), shown.height(), picture.height());
    const int bottom = source_index(region.bottom(), shown.height(), picture.height());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The one conversion every path of this file uses for pictures not in Format_RGB32.
QImage converted_to_rgb32(const QImage& picture, const QRect& part) {
    return picture.copy(part).convertToFormat(QImage::Format_RGB32);
}

Rgb32Source rgb32_source(const QImage& picture, QSize shown, const QRect& region) {
    if (picture.format() == QImage::Format_RGB32) return {picture, QPoint(0, 0)};
    const QRect bounds = source_bounds(picture, shown, region);
    return {converted_to_rgb32(picture, bounds), bounds.topLeft()};
}

bool drawable(const QImage& picture, QSize shown, const QRect& region) {
    return !picture.isNull() && !shown.isEmpty() && !region.isEmpty();
}

} // namespace

bool enlarge_region_into(const QImage& picture, QSize shown, QRect region, uchar* dst,
                         qsizetype stride) {
    if (!drawable(picture, shown, region)) return false;
    const Rgb32Source source = rgb32_source(picture, shown, region);
    if (source.pixels.isNull()) return false;

    const std::vector<int> columns =
        column_table(region, shown.width(), picture.width(), source.origin.x());
    const int width = region.width();
    const size_t row_bytes = size_t(width) * sizeof(QRgb);

    // Magnified, several shown rows show the same picture row: gather it once
    // and copy the finished row for the others.
    int previous_row = -1;
    const uchar* previous = nullptr;
    for (int j = 0; j < region.height(); ++j) {
        uchar* line = dst + qsizetype(j) * stride;
        const int row = source_index(qint64(region.y()) + j, shown.height(), picture.height());
        if (row == previous_row) {
            std::memcpy(line, previous, row_bytes);
            continue;
        }
        const auto* in =
            reinterpret_cast<const QRgb*>(source.pixels.constScanLine(row - source.origin.y()));
        auto* out = reinterpret_cast<QRgb*>(line);
        for (int i = 0; i < width; ++i)
            out[i] = in[columns[size_t(i)]];
        previous_row = row;
        previous = line;
    }
    return true;
}

QImage enlarged_region(const QImage& picture, QSize shown, QRect region) {
    if (!drawable(picture, shown, region)) return QImage();
    QImage out(region.size(), QImage::Format_RGB32);
    if (out.isNull()) return out;
    if (!enlarge_region_into(picture, shown, region, out.bits(), out.bytesPerLine()))
        return QImage();
    return out;
}

std::vector<int> source_columns(qint64 shown_width, qint64 picture_width) {
    return column_table(QRect(0, 0, int(std::max<qint64>(shown_width, 0)), 1), shown_width,
                        picture_width, 0);
}

Rgb32Rows rgb32_rows(const QImage& picture, int first, int last) {
    if (picture.format() == QImage::Format_RGB32) return {picture, 0};
    const QRect rows = QRect(0, first, picture.width(), last - first + 1) & picture.rect();
    return {converted_to_rgb32(picture, rows), rows.top()};
}
