// SPDX-License-Identifier: MIT
#include "picture/sequential_stream_writer.h"

#include "picture/bmp_stream_writer.h"

#include <QDir>

namespace {
constexpr qint64 buffer_bytes = 256 << 10;
// As the bitmap's: enough to keep the disk busy, few enough to stay cached cheaply.
constexpr qint64 write_behind_bytes = 32 << 20;
} // namespace

SequentialStreamWriter::SequentialStreamWriter(QString target, qint64 width, qint64 height)
    : width_(width), height_(height), file_(std::move(target)) {}

QString SequentialStreamWriter::fail(const QString& reason) {
    error_ = QStringLiteral("Could not write %1: %2")
                 .arg(QDir::toNativeSeparators(file_.target()), reason);
    return error_;
}

void SequentialStreamWriter::put_bytes(const char* data, qint64 size) {
    if (!sink_error_.isEmpty()) return;
    buffer_.append(data, size);
    if (buffer_.size() >= buffer_bytes) sink_error_ = flush_buffer();
}

QString SequentialStreamWriter::flush_buffer() {
    if (buffer_.isEmpty()) return QString();
    if (const QString why = file_.write(buffer_); !why.isEmpty()) return why;
    const qint64 size = buffer_.size();
    buffer_.clear();
    file_.start_writeback(file_end_, size);
    in_flight_.emplace_back(file_end_, size);
    in_flight_bytes_ += size;
    file_end_ += size;
    while (in_flight_bytes_ > write_behind_bytes) {
        const auto [oldest, bytes] = in_flight_.front();
        in_flight_.pop_front();
        in_flight_bytes_ -= bytes;
        if (const QString why = file_.drop_after_writeback(oldest, bytes); !why.isEmpty())
            return why;
    }
    return QString();
}

QString SequentialStreamWriter::open() {
    if (!error_.isEmpty()) return error_;
    if (opened_) return fail(QStringLiteral("the file was opened twice"));
    if (const QString refused = refuse_reason(); !refused.isEmpty()) return fail(refused);
    if (const QString why = file_.open(); !why.isEmpty()) return fail(why);
    buffer_.reserve(buffer_bytes + (64 << 10));
    opened_ = true;
    if (const QString why = start(); !why.isEmpty()) return fail(why);
    return QString();
}

QString SequentialStreamWriter::write_stored_rows(qint64 top, std::span<const uchar* const> rows) {
    if (!error_.isEmpty()) return error_;
    if (!opened_) return fail(QStringLiteral("rows were written before the file was opened"));
    if (top != next_row_ || top + qint64(rows.size()) > height_)
        return fail(QStringLiteral("rows %1 to %2 came where row %3 was due")
                        .arg(top)
                        .arg(top + qint64(rows.size()) - 1)
                        .arg(next_row_));
    if (const QString why = encode(rows); !why.isEmpty()) return fail(why);
    next_row_ += qint64(rows.size());
    return QString();
}

QString SequentialStreamWriter::write_band(qint64 top, const QImage& band) {
    if (!error_.isEmpty()) return error_;
    if (band.isNull() || band.width() != width_)
        return fail(
            QStringLiteral("no pixels of the picture's width for the rows from %1 on").arg(top));
    const QImage rgb =
        band.format() == QImage::Format_RGB32 || band.format() == QImage::Format_ARGB32
            ? band
            : band.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return fail(QStringLiteral("out of memory converting the rows from %1 on").arg(top));
    const qint64 stride = BmpStreamWriter::row_stride(width_);
    band_rows_.resize(size_t(stride * rgb.height()));
    row_pointers_.resize(size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        uchar* out = band_rows_.data() + stride * y;
        BmpStreamWriter::store_row(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), nullptr,
                                   width_, out);
        row_pointers_[size_t(y)] = out;
    }
    return write_stored_rows(top, row_pointers_);
}

QString SequentialStreamWriter::finish() {
    if (!error_.isEmpty()) return error_;
    if (!opened_) return fail(QStringLiteral("the file was never opened"));
    if (next_row_ != height_)
        return fail(
            QStringLiteral("only %1 of its %2 rows were written").arg(next_row_).arg(height_));
    QString why = end();
    if (why.isEmpty()) why = sink_error_;
    if (why.isEmpty()) why = flush_buffer();
    if (why.isEmpty()) why = file_.commit();
    if (!why.isEmpty()) return fail(why);
    return QString();
}
