// SPDX-License-Identifier: MIT
#include "picture/png_stream_writer.h"

#include <png.h>

#include <cstring>
#include <limits>

namespace {
constexpr png_uint_32 pixels_per_metre = 2835; // 72 dpi, as the bitmap
} // namespace

PngStreamWriter::PngStreamWriter(QString target, qint64 width, qint64 height)
    : SequentialStreamWriter(std::move(target), width, height) {}

PngStreamWriter::~PngStreamWriter() {
    if (png_) png_destroy_write_struct(&png_, &info_);
}

QString PngStreamWriter::refuse_reason() const {
    constexpr qint64 most = std::numeric_limits<qint32>::max(); // PNG's sides are 31 bits
    if (width_ < 1 || height_ < 1 || width_ > most || height_ > most)
        return QStringLiteral("a PNG cannot hold %1 x %2 pixels").arg(width_).arg(height_);
    return QString();
}

// libpng reports an error by calling this, which must not return: the
// message is kept and the step that called libpng takes the jump back.
void PngStreamWriter::on_error(png_struct_def* png, const char* message) {
    auto* self = static_cast<PngStreamWriter*>(png_get_error_ptr(png));
    std::strncpy(self->message_, message, sizeof self->message_ - 1);
    png_longjmp(png, 1);
}

void PngStreamWriter::write_bytes(png_struct_def* png, unsigned char* data, size_t size) {
    static_cast<PngStreamWriter*>(png_get_io_ptr(png))
        ->put_bytes(reinterpret_cast<const char*>(data), qint64(size));
}

// Each step below calls libpng under a setjmp of its own; nothing between
// the setjmp and libpng's calls has a destructor the jump would skip.
QString PngStreamWriter::start() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, on_error, on_warning);
    if (!png_) return QStringLiteral("libpng could not start");
    info_ = png_create_info_struct(png_);
    if (!info_) return QStringLiteral("libpng could not start");
    if (setjmp(png_jmpbuf(png_))) return QStringLiteral("PNG: %1").arg(QLatin1String(message_));
    png_set_write_fn(png_, this, write_bytes, flush);
    png_set_user_limits(png_, 0x7fffffff, 0x7fffffff);
    png_set_compression_level(png_, 1);
    // Each row as its difference from the row above: a row the zoom repeats
    // is all zeros, and libpng's trying of every filter on every row (most
    // of the time at 510%) is spared.
    png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png_, info_, png_uint_32(width_), png_uint_32(height_), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png_, info_, pixels_per_metre, pixels_per_metre, PNG_RESOLUTION_METER);
    png_write_info(png_, info_);
    png_set_bgr(png_); // the stored rows are blue, green, red
    return sink_error();
}

QString PngStreamWriter::encode(std::span<const uchar* const> rows) {
    if (setjmp(png_jmpbuf(png_))) return QStringLiteral("PNG: %1").arg(QLatin1String(message_));
    for (const uchar* row : rows)
        png_write_row(png_, row);
    return sink_error();
}

QString PngStreamWriter::end() {
    if (setjmp(png_jmpbuf(png_))) return QStringLiteral("PNG: %1").arg(QLatin1String(message_));
    png_write_end(png_, nullptr);
    return sink_error();
}
