#include "platform/bmp_stream_writer.h"

#include <QDir>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr qint64 max_file_size = std::numeric_limits<quint32>::max(); // bfSize is 32 bits
constexpr quint32 pixels_per_metre = 2835;                            // 72 dpi

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

bool BmpStreamWriter::fail(const QString& reason) {
    error_ = QStringLiteral("Could not write %1: %2")
                 .arg(QDir::toNativeSeparators(file_.target()), reason);
    return false;
}

bool BmpStreamWriter::fail_file() {
    return fail(file_.error());
}

bool BmpStreamWriter::open() {
    if (!error_.isEmpty()) return false;
    if (opened_) return fail(QStringLiteral("the file was opened twice"));
    const QString refused = refuse_reason(width_, height_);
    if (!refused.isEmpty()) return fail(refused);
    if (!file_.open() || !file_.reserve(file_size(width_, height_)) ||
        !file_.write_at(0, bmp_headers(width_, height_, stride_).constData(), header_size))
        return fail_file();
    written_.assign(size_t(height_), false);
    opened_ = true;
    return true;
}

// The band's rows as stored: bottom row first, blue-green-red, zero padded.
void BmpStreamWriter::store_rows(const QImage& rgb, QByteArray& out) const {
    const int rows = rgb.height();
    const int width = rgb.width();
    out.resize(qsizetype(rows) * stride_);
    for (int y = 0; y < rows; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* line = reinterpret_cast<uchar*>(out.data()) + qsizetype(rows - 1 - y) * stride_;
        uchar* px = line;
        for (int x = 0; x < width; ++x, px += 3) {
            const QRgb c = in[x];
            px[0] = uchar(qBlue(c));
            px[1] = uchar(qGreen(c));
            px[2] = uchar(qRed(c));
        }
        std::memset(px, 0, size_t(line + stride_ - px));
    }
}

void BmpStreamWriter::mark_written(qint64 top, qint64 rows) {
    for (qint64 y = top; y < top + rows; ++y) {
        if (!written_[size_t(y)]) ++rows_written_;
        written_[size_t(y)] = true;
    }
}

bool BmpStreamWriter::write_band(qint64 top, const QImage& band) {
    if (!error_.isEmpty()) return false; // the first failure is the one to report
    if (!opened_) return fail(QStringLiteral("rows were written before the file was opened"));
    if (band.isNull())
        return fail(QStringLiteral("no pixels for the rows from %1 on (out of memory?)").arg(top));
    const qint64 rows = band.height();
    if (band.width() != width_ || top < 0 || top + rows > height_)
        return fail(
            QStringLiteral("a band of %1 x %2 pixels at row %3 does not fit a %4 x %5 bitmap")
                .arg(band.width())
                .arg(rows)
                .arg(top)
                .arg(width_)
                .arg(height_));

    const bool direct =
        band.format() == QImage::Format_RGB32 || band.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? band : band.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return fail(QStringLiteral("out of memory converting the rows from %1 on").arg(top));
    store_rows(rgb, band_bytes_);

    // Bottom-up: the band's last row is the first of its rows in the file.
    const qint64 offset = header_size + (height_ - top - rows) * stride_;
    if (!file_.write_at(offset, band_bytes_.constData(), band_bytes_.size())) return fail_file();
    mark_written(top, rows);
    return true;
}

bool BmpStreamWriter::finish() {
    if (!error_.isEmpty()) return false;
    if (!opened_) return fail(QStringLiteral("the file was never opened"));
    if (rows_written_ != height_)
        return fail(
            QStringLiteral("only %1 of its %2 rows were written").arg(rows_written_).arg(height_));
    if (!file_.commit()) return fail_file();
    return true;
}
