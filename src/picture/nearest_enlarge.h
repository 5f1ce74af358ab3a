// SPDX-License-Identifier: MIT
#pragma once
// The zoom above 100%: the one nearest-neighbour enlargement, mapping shown
// (zoomed) pixels to picture pixels. (The magnifier window, an 8x inset that
// follows the pointer, is widgets/magnifier.) The picture area paints through it and the bitmap
// export renders its bands through it, so a saved picture is pixel for pixel what was on screen.
//
// A picture W x H shown at S = sw x sh: shown column dx shows picture column
// floor(dx * W / sw), clamped to W - 1; rows likewise.

#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

// The picture column (or row) that shown column `shown` of a view `shown_len`
// wide shows of a picture `src_len` wide. Computed in 64 bits: lengths below
// 2^31 cannot overflow. Positions left of the view give 0, right of it the
// last column; empty lengths give 0.
int source_index(qint64 shown, qint64 shown_len, qint64 src_len);

// `region` (in shown coordinates) of `picture` shown at `shown`, as a
// Format_RGB32 image of region.size(). The picture is expected in
// Format_RGB32, which is copied pixel by pixel; any other format is converted
// (only the part the region needs), correct but slower. Returns a null image
// for an empty region, an empty shown size, a null picture, or when the
// memory cannot be had.
QImage enlarged_region(const QImage& picture, QSize shown, QRect region);

// The same into a caller's buffer: region.height() rows of region.width()
// RGB32 pixels, `stride` bytes apart, starting at `dst` (4-byte aligned).
// Returns false, leaving the buffer untouched, when there is nothing to draw
// or the conversion of a non-RGB32 picture runs out of memory.
bool enlarge_region_into(const QImage& picture, QSize shown, QRect region, uchar* dst,
                         qsizetype stride);

// For work row by row across the whole width (the bitmap export): the picture
// column each shown column 0 .. shown_width - 1 shows, as source_index gives
// it, made once so that a row is gathered without a division per pixel.
std::vector<int> source_columns(qint64 shown_width, qint64 picture_width);

// Picture rows `first` .. `last` as Format_RGB32 pixels: the picture itself
// when it is Format_RGB32 (nothing copied), otherwise those rows converted as
// enlarged_region converts a picture of another format, so either way shows
// the same colours. `pixels` is null when the conversion runs out of memory.
struct Rgb32Rows {
    QImage pixels;
    int first = 0; // the picture row `pixels` starts with

    const QRgb* row(int picture_row) const {
        return reinterpret_cast<const QRgb*>(pixels.constScanLine(picture_row - first));
    }
};
Rgb32Rows rgb32_rows(const QImage& picture, int first, int last);
