// SPDX-License-Identifier: MIT
#include "picture/bmp_stream_writer.h"

#include <QDir>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr qint64 max_file_size = std::numeric_limits<quint32>::max(); // bfSize is 32 bits
constexpr quint32 pixels_per_metre = 2835;                            // 72 dpi
// Bytes written but not yet known to be on the disk: enough to keep the disk
// busy, few enough to stay cached cheaply.
constexpr qint64 write_behind_bytes = 32 << 20;

void put16(QByteArray& bytes, int at, quint16 value) {
    qToLittleEndian(value, bytes.data() + at);
}

void put32(QByteArray& bytes, int at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

// BITMAPFILEHEADER then BITMAPINFOHEADER. A positive height means the rows
// are stored bottom-up.
QByteArray bmp_headers(qint64 width, qint64 height, qint64 stride) {
    QByteArray h(BmpStreamWriter::header_size, '\0');
    h[0] = 'B';
    h[1] = 'M';
    put32(h, 2, quint32(BmpStreamWriter::file_size(width, height)));
    put32(h, 10, quint32(BmpStreamWriter::header_size)); // where the pixels start
    put32(h, 14, 40);                                    // size of the info header
    put32(h, 18, quint32(width));
    put32(h, 22, quint32(height));
    put16(h, 26, 1);  // planes
    put16(h, 28, 24); // bits per pixel
    put32(h, 30, 0);  // BI_RGB, uncompressed
    put32(h, 34, quint32(stride * height));
    put32(h, 38, pixels_per_metre);
    put32(h, 42, pixels_per_metre);
    // Colours used and important stay 0: no palette.
    return h;
}

// Pixels 0 .. width - 1 as blue, green, red from `out` on; returns where they end.
template <typename Pixel> uchar* store_pixels(Pixel pixel, qint64 width, uchar* out) {
    if (width <= 0) return out;
    uchar* px = out;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // 0xAARRGGBB lies in memory as blue, green, red, alpha: four bytes at
        // once, the alpha overwritten by the next pixel. The last pixel is
        // stored on its own, so that it cannot spill past the row.
        for (qint64 x = 0; x + 1 < width; ++x, px += 3) {
            const QRgb c = pixel(x);
            std::memcpy(px, &c, 4);
        }
    } else {
        for (qint64 x = 0; x + 1 < width; ++x, px += 3) {
            const QRgb c = pixel(x);
            px[0] = uchar(qBlue(c));
            px[1] = uchar(qGreen(c));
            px[2] = uchar(qRed(c));
        }
    }
    const QRgb last = pixel(width - 1);
    px[0] = uchar(qBlue(last));
    px[1] = uchar(qGreen(last));
    px[2] = uchar(qRed(last));
    return px + 3;
}

QString gigabytes(double bytes) {
    // Rounded up, so a size just past the limit never reads as "4.0 GB".
    const double tenths = std::ceil(bytes / double(1 << 30) * 10.0);
    return QString::number(tenths / 10.0, 'f', 1);
}

} // namespace

BmpStreamWriter::BmpStreamWriter(QString target, qint64 width, qint64 height)
    : file_(std::move(target)), width_(width), height_(height), stride_(row_stride(width)) {}

qint64 BmpStreamWriter::row_stride(qint64 width) {
    return (width * 3 + 3) / 4 * 4;
}

qint64 BmpStreamWriter::file_size(qint64 width, qint64 height) {
    return header_size + row_stride(width) * height;
}

QString BmpStreamWriter::refuse_reason(qint64 width, qint64 height) {
    if (width < 1 || height < 1)
        return QStringLiteral("the bitmap would be empty (%1 x %2 pixels)").arg(width).arg(height);
    // Checked by division: the product itself can overflow 64 bits.
    const bool fits = width <= std::numeric_limits<qint32>::max() &&
                      height <= std::numeric_limits<qint32>::max() &&
                      row_stride(width) <= (max_file_size - header_size) / height;
    if (fits) return QString();
    // In floating point: for absurd sizes the exact count would overflow.
    const double stride = std::ceil(double(width) * 3.0 / 4.0) * 4.0;
    const double bytes = double(header_size) + stride * double(height);
    return QStringLiteral("the bitmap would be %1 x %2 pixels, %3 GB, larger than the 4 GB a BMP "
                          "file can hold")
        .arg(width)
        .arg(height)
        .arg(gigabytes(bytes));
}

QString BmpStreamWriter::fail(const QString& reason) {
    error_ = QStringLiteral("Could not write %1: %2")
                 .arg(QDir::toNativeSeparators(file_.target()), reason);
    return error_;
}

QString BmpStreamWriter::open() {
    if (!error_.isEmpty()) return error_;
    if (opened_) return fail(QStringLiteral("the file was opened twice"));
    const QString refused = refuse_reason(width_, height_);
    if (!refused.isEmpty()) return fail(refused);
    QString why = file_.open();
    if (why.isEmpty()) why = file_.reserve(file_size(width_, height_));
    if (why.isEmpty())
        why = file_.write_at(0, bmp_headers(width_, height_, stride_).constData(), header_size);
    if (!why.isEmpty()) return fail(why);
    written_.assign(size_t(height_), false);
    opened_ = true;
    return QString();
}

void BmpStreamWriter::store_row(const QRgb* pixels, const int* columns, qint64 width, uchar* out) {
    uchar* end = columns ? store_pixels([=](qint64 x) { return pixels[columns[x]]; }, width, out)
                         : store_pixels([=](qint64 x) { return pixels[x]; }, width, out);
    std::memset(end, 0, size_t(out + row_stride(width) - end));
}

// The band's rows as stored: bottom row first.
void BmpStreamWriter::store_rows(const QImage& rgb, QByteArray& out) const {
    const int rows = rgb.height();
    out.resize(qsizetype(rows) * stride_);
    for (int y = 0; y < rows; ++y)
        store_row(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), nullptr, width_,
                  reinterpret_cast<uchar*>(out.data()) + qsizetype(rows - 1 - y) * stride_);
}

void BmpStreamWriter::mark_written(qint64 top, qint64 rows) {
    for (qint64 y = top; y < top + rows; ++y) {
        if (!written_[size_t(y)]) ++rows_written_;
        written_[size_t(y)] = true;
    }
}

QString BmpStreamWriter::check_rows(qint64 top, qint64 rows, qint64 width) {
    if (!error_.isEmpty()) return error_; // the first failure is the one to report
    if (!opened_) return fail(QStringLiteral("rows were written before the file was opened"));
    if (width != width_ || top < 0 || rows < 0 || top + rows > height_)
        return fail(
            QStringLiteral("a band of %1 x %2 pixels at row %3 does not fit a %4 x %5 bitmap")
                .arg(width)
                .arg(rows)
                .arg(top)
                .arg(width_)
                .arg(height_));
    return QString();
}

// `stored` holds the rows in file order: the band's bottom row first.
QString BmpStreamWriter::write_rows_at(qint64 top, qint64 rows,
                                       std::span<const QByteArrayView> stored) {
    // Bottom-up: the band's last row is the first of its rows in the file.
    const qint64 offset = header_size + (height_ - top - rows) * stride_;
    if (const QString why = file_.write_pieces_at(offset, stored); !why.isEmpty()) return fail(why);
    mark_written(top, rows);
    return write_behind(offset, rows * stride_);
}

// The disk takes each band while the next ones are made, and the oldest
// bands leave the cache once they are on the disk: a bitmap of gigabytes
// keeps only a few dozen megabytes cached, and finish() has little left to
// sync.
QString BmpStreamWriter::write_behind(qint64 offset, qint64 size) {
    file_.start_writeback(offset, size);
    in_flight_.emplace_back(offset, size);
    in_flight_bytes_ += size;
    while (in_flight_bytes_ > write_behind_bytes) {
        const auto [oldest, bytes] = in_flight_.front();
        in_flight_.pop_front();
        in_flight_bytes_ -= bytes;
        if (const QString why = file_.drop_after_writeback(oldest, bytes); !why.isEmpty())
            return fail(why);
    }
    return QString();
}

QString BmpStreamWriter::write_band(qint64 top, const QImage& band) {
    if (band.isNull() && error_.isEmpty() && opened_)
        return fail(QStringLiteral("no pixels for the rows from %1 on (out of memory?)").arg(top));
    if (const QString why = check_rows(top, band.height(), band.width()); !why.isEmpty())
        return why;

    const bool direct =
        band.format() == QImage::Format_RGB32 || band.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? band : band.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return fail(QStringLiteral("out of memory converting the rows from %1 on").arg(top));
    store_rows(rgb, band_bytes_);
    const QByteArrayView whole(band_bytes_);
    return write_rows_at(top, band.height(), {&whole, 1});
}

QString BmpStreamWriter::write_stored_rows(qint64 top, std::span<const uchar* const> rows) {
    if (const QString why = check_rows(top, qint64(rows.size()), width_); !why.isEmpty())
        return why;
    row_views_.clear();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        row_views_.emplace_back(*row, stride_);
    return write_rows_at(top, qint64(rows.size()), row_views_);
}

QString BmpStreamWriter::finish() {
    if (!error_.isEmpty()) return error_;
    if (!opened_) return fail(QStringLiteral("the file was never opened"));
    if (rows_written_ != height_)
        return fail(
            QStringLiteral("only %1 of its %2 rows were written").arg(rows_written_).arg(height_));
    if (const QString why = file_.commit(); !why.isEmpty()) return fail(why);
    return QString();
}
