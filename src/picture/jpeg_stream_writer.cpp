// SPDX-License-Identifier: MIT
#include "picture/jpeg_stream_writer.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

namespace {
constexpr qint64 most_side = JPEG_MAX_DIMENSION; // 65,500
constexpr size_t out_bytes = 64 << 10;
} // namespace

struct JpegStreamWriter::Encoder {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX] = {};
    JpegStreamWriter* owner = nullptr;
    bool created = false;
    JOCTET out[out_bytes];

    static Encoder& of(j_compress_ptr info) {
        return *reinterpret_cast<Encoder*>(reinterpret_cast<char*>(info) - offsetof(Encoder, info));
    }
    [[noreturn]] static void stop(j_common_ptr common) {
        Encoder& e = of(reinterpret_cast<j_compress_ptr>(common));
        (*common->err->format_message)(common, e.message);
        std::longjmp(e.escape, 1);
    }
    static void begin(j_compress_ptr info) {
        Encoder& e = of(info);
        e.destination.next_output_byte = e.out;
        e.destination.free_in_buffer = out_bytes;
    }
    // The buffer is full: all of it goes on (libjpeg ignores free_in_buffer here).
    static boolean full(j_compress_ptr info) {
        Encoder& e = of(info);
        e.owner->put_bytes(reinterpret_cast<const char*>(e.out), qint64(out_bytes));
        begin(info);
        return TRUE;
    }
    static void term(j_compress_ptr info) {
        Encoder& e = of(info);
        e.owner->put_bytes(reinterpret_cast<const char*>(e.out),
                           qint64(out_bytes - e.destination.free_in_buffer));
    }
    QString failure() const { return QStringLiteral("JPEG: %1").arg(QLatin1String(message)); }
};

JpegStreamWriter::JpegStreamWriter(QString target, qint64 width, qint64 height)
    : SequentialStreamWriter(std::move(target), width, height) {}

JpegStreamWriter::~JpegStreamWriter() {
    if (encoder_ && encoder_->created) jpeg_destroy_compress(&encoder_->info);
}

QString JpegStreamWriter::refuse_reason() const {
    if (width_ < 1 || height_ < 1 || width_ > most_side || height_ > most_side)
        return QStringLiteral("the picture would be %1 x %2 pixels; a JPEG holds at most %3 "
                              "pixels a side (PNG or BMP hold it)")
            .arg(width_)
            .arg(height_)
            .arg(most_side);
    return QString();
}

// Each step calls libjpeg under a setjmp of its own; nothing between the
// setjmp and libjpeg's calls has a destructor the jump would skip.
QString JpegStreamWriter::start() {
    encoder_ = std::make_unique<Encoder>();
    Encoder& e = *encoder_;
    e.owner = this;
    e.info.err = jpeg_std_error(&e.errors);
    e.errors.error_exit = Encoder::stop;
    if (setjmp(e.escape)) return e.failure();
    jpeg_create_compress(&e.info);
    e.created = true;
    e.destination.init_destination = Encoder::begin;
    e.destination.empty_output_buffer = Encoder::full;
    e.destination.term_destination = Encoder::term;
    e.info.dest = &e.destination;
    e.info.image_width = JDIMENSION(width_);
    e.info.image_height = JDIMENSION(height_);
    e.info.input_components = 3;
    e.info.in_color_space = JCS_EXT_BGR; // the stored rows are blue, green, red
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    // Colour at full resolution (4:4:4): a picture to measure on keeps its
    // coloured edges where they are.
    e.info.comp_info[0].h_samp_factor = 1;
    e.info.comp_info[0].v_samp_factor = 1;
    e.info.density_unit = 1; // dots per inch
    e.info.X_density = 72;
    e.info.Y_density = 72;
    jpeg_start_compress(&e.info, TRUE);
    return sink_error();
}

QString JpegStreamWriter::encode(std::span<const uchar* const> rows) {
    Encoder& e = *encoder_;
    if (setjmp(e.escape)) return e.failure();
    for (const uchar* row : rows) {
        auto* line = const_cast<JSAMPROW>(row); // libjpeg only reads it
        jpeg_write_scanlines(&e.info, &line, 1);
    }
    return sink_error();
}

QString JpegStreamWriter::end() {
    Encoder& e = *encoder_;
    if (setjmp(e.escape)) return e.failure();
    jpeg_finish_compress(&e.info);
    return sink_error();
}
