// SPDX-License-Identifier: MIT
#include "picture/bmp_bands.h"

#include "picture/picture_memory.h"
#include "picture/shrink_stream.h"
#include "platform/regular_file.h"

#include <QFile>
#include <vector>

namespace {

quint32 le(const uchar* b, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[i];
    return v;
}

// What the rows of a plain bitmap take: where they start, how long each is
// in the file, and whether the top row comes first.
struct Layout {
    qint64 offset = 0;
    QSize size;
    int bytes_per_pixel = 0;
    qint64 stride = 0;
    bool top_down = false;
};

// The layout of a 24- or 32-bit uncompressed bitmap, or none. 32-bit pixels
// count only with the plain 40-byte header, whose fourth byte is unused (the
// longer headers may give it an alpha mask).
bool plain_layout(QFile& file, Layout* layout) {
    uchar head[54];
    if (file.read(reinterpret_cast<char*>(head), 54) != 54 || head[0] != 'B' || head[1] != 'M')
        return false;
    const quint32 info_size = le(head + 14, 4);
    const qint32 width = qint32(le(head + 18, 4)), height = qint32(le(head + 22, 4));
    const int bits = int(le(head + 28, 2)), planes = int(le(head + 26, 2));
    const quint32 compression = le(head + 30, 4);
    const bool plain = compression == 0 && planes == 1 &&
                       ((bits == 24 && (info_size == 40 || info_size == 108 || info_size == 124)) ||
                        (bits == 32 && info_size == 40));
    if (!plain || width <= 0 || height == 0 || height == INT_MIN) return false;
    layout->offset = le(head + 10, 4);
    layout->size = QSize(width, qAbs(height));
    layout->bytes_per_pixel = bits / 8;
    layout->stride = (qint64(width) * bits + 31) / 32 * 4;
    layout->top_down = height < 0;
    return true;
}

// One row of the file as 32-bit RGB: blue, green, red bytes, opaque.
void to_rgb32(const uchar* in, int bytes_per_pixel, int width, quint32* out) {
    for (int x = 0; x < width; ++x, in += bytes_per_pixel)
        out[x] = 0xff000000u | quint32(in[2]) << 16 | quint32(in[1]) << 8 | in[0];
}

} // namespace

BmpBands shrink_bmp_rows(const QString& path, QSize to, QImage memory) {
    QFile file;
    if (const QString why = open_regular_file(path, file); !why.isEmpty()) return {true, {}, why};
    Layout layout;
    if (!plain_layout(file, &layout) || to.isEmpty() || to.width() > layout.size.width() ||
        to.height() > layout.size.height())
        return {};
    const QSize from = layout.size;
    QImage image = reuse_rgb32(to, memory);
    if (image.isNull()) image = QImage(to, QImage::Format_RGB32);
    if (image.isNull())
        return {true,
                {},
                QStringLiteral("not enough memory for %1 x %2 pixels")
                    .arg(to.width())
                    .arg(to.height())};
    ShrinkPipe pipe(from, image, qMax(1, int((qint64(1) << 20) / (qint64(from.width()) * 4))));
    std::vector<uchar> read(size_t(pipe.band_rows()) * size_t(layout.stride));
    for (int y = 0; y < from.height();) {
        const int rows = qMin(pipe.band_rows(), from.height() - y);
        // Rows y to y + rows - 1; stored bottom up, they lie backwards in the file.
        const qint64 first_stored = layout.top_down ? y : from.height() - y - rows;
        const qint64 bytes = rows * layout.stride;
        if (!file.seek(layout.offset + first_stored * layout.stride) ||
            file.read(reinterpret_cast<char*>(read.data()), bytes) != bytes)
            return {true, {}, QStringLiteral("the file is truncated")};
        uchar* band = pipe.band();
        for (int k = 0; k < rows; ++k) {
            const int stored = layout.top_down ? k : rows - 1 - k;
            to_rgb32(read.data() + stored * layout.stride, layout.bytes_per_pixel, from.width(),
                     reinterpret_cast<quint32*>(band + k * pipe.band_line()));
        }
        pipe.hand_over(rows);
        y += rows;
    }
    if (!pipe.finish()) return {true, {}, QStringLiteral("the picture is incomplete")};
    return {true, std::move(image), QString()};
}

BmpBands read_bmp_region(const QString& path, QRect region) {
    QFile file;
    if (const QString why = open_regular_file(path, file); !why.isEmpty()) return {true, {}, why};
    Layout layout;
    if (!plain_layout(file, &layout)) return {};
    region &= QRect(QPoint(0, 0), layout.size);
    QImage image(region.size(), QImage::Format_RGB32);
    if (region.isEmpty() || image.isNull()) return {};
    const qint64 bytes = qint64(region.width()) * layout.bytes_per_pixel;
    std::vector<uchar> read(static_cast<size_t>(bytes));
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const qint64 stored = layout.top_down ? y : layout.size.height() - 1 - y;
        if (!file.seek(layout.offset + stored * layout.stride +
                       qint64(region.left()) * layout.bytes_per_pixel) ||
            file.read(reinterpret_cast<char*>(read.data()), bytes) != bytes)
            return {true, {}, QStringLiteral("the file is truncated")};
        to_rgb32(read.data(), layout.bytes_per_pixel, region.width(),
                 reinterpret_cast<quint32*>(image.scanLine(y - region.top())));
    }
    return {true, std::move(image), QString()};
}
