// SPDX-License-Identifier: MIT
#include "picture/jpeg_decode.h"

#include "picture/decode_watch.h"
#include "picture/picture_memory.h"
#include "picture/shrink_stream.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    bool all_rows = false;   // every row decoded: what follows cannot cut the picture short
    bool data_ended = false; // the compressed data ran out before the picture did
    char first_error[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void stop_on_error(j_common_ptr info) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    (*info->err->format_message)(info, errors->first_error);
    std::longjmp(errors->escape, 1);
}

// Every warning comes here, not only the first. Data that ends before the
// picture does ("premature end of data segment", "premature end of JPEG
// file") stops decoding at once: the rows after it would be grey filler.
void watch_warning(j_common_ptr info, int level) {
    if (level >= 0) return; // trace messages
    auto* errors = reinterpret_cast<Errors*>(info->err);
    const int code = info->err->msg_code;
    if ((code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF) && !errors->all_rows) {
        errors->data_ended = true;
        std::longjmp(errors->escape, 1);
    }
    ++info->err->num_warnings;
}

// The file, closed however decoding ends.
struct OpenFile {
    std::FILE* file;
    explicit OpenFile(const QString& path) : file(std::fopen(QFile::encodeName(path), "rb")) {}
    ~OpenFile() {
        if (file) std::fclose(file);
    }
};

// Rows made resident ahead of the decoder, a band at a time.
constexpr int band_bytes = 8 << 20;
// Rows decoded per call into libjpeg, and per band handed to the shrinking.
constexpr int rows_per_call = 16;
constexpr int shrink_band_bytes = 1 << 20;

// Everything a decoding touches, kept out of the frame that libjpeg's errors
// jump back to (a jump skips the destructors of the frames it leaves).
struct Decoding {
    jpeg_decompress_struct info{};
    Errors errors;
    QImage image;
    std::unique_ptr<ShrinkPipe> shrink; // set when decoded rows are shrunk as they come
    std::unique_ptr<RowsAhead> ahead;   // set when fresh rows are made resident on a second thread
    std::vector<uchar> cmyk_rows;
    int covered = 0; // rows decoded from data so far
    QString failure; // set before returning false without a libjpeg error
    DecodeWatch* watch = nullptr;

    // True when the waiting thread no longer wants the picture.
    bool stopped() {
        if (watch == nullptr) return false;
        watch->rows.store(covered, std::memory_order_release);
        watch->of_rows.store(int(info.output_height), std::memory_order_relaxed);
        if (!watch->stop.load(std::memory_order_relaxed)) return false;
        failure = QLatin1String(decoding_stopped);
        return true;
    }
};

// The picture's memory: in `memory` when it is large enough, else mapped afresh.
QImage picture_memory(QSize size, QImage& memory) {
    QImage image = reuse_rgb32(size, memory);
    if (image.isNull()) image = QImage(size, QImage::Format_RGB32);
    return image;
}

// Adobe's inverted CMYK, as photo programs write it, into 32-bit RGB.
void cmyk_to_rgb32(const uchar* in, uchar* out_row, int width) {
    auto* out = reinterpret_cast<QRgb*>(out_row);
    for (int x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
    }
}

// Decodes up to `count` rows into `rows` (`line` bytes apart); how many came.
int read_rows(Decoding& d, uchar* rows, qsizetype line, int count) {
    JSAMPROW pointers[rows_per_call];
    const bool cmyk = !d.cmyk_rows.empty();
    const qsizetype in_line = cmyk ? qsizetype(d.info.output_width) * 4 : line;
    count = qMin(count, rows_per_call);
    for (int k = 0; k < count; ++k)
        pointers[k] = (cmyk ? d.cmyk_rows.data() : rows) + k * in_line;
    const int got = int(jpeg_read_scanlines(&d.info, pointers, JDIMENSION(count)));
    if (cmyk)
        for (int k = 0; k < got; ++k)
            cmyk_to_rgb32(pointers[k], rows + k * line, int(d.info.output_width));
    d.covered += got;
    return got;
}

// Decodes into d.image; false when libjpeg stopped it (or memory failed).
// With `shrink_to` smaller than the decoded picture, each band of decoded rows
// is shrunk as it comes and d.image is of the shrunk size.
bool run(Decoding& d, std::FILE* input, int eighths, QImage& memory, QSize shrink_to) {
    jpeg_decompress_struct& info = d.info;
    if (setjmp(d.errors.escape)) return false;
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    info.scale_num = unsigned(qBound(1, eighths, 8));
    info.scale_denom = 8;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // BGRX is Qt's 32-bit RGB in memory, the X byte set to 0xFF.
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&info);
    const QSize size(int(info.output_width), int(info.output_height));
    const bool shrinking = shrink_to.isValid() && !shrink_to.isEmpty() && shrink_to != size &&
                           shrink_to.width() <= size.width() && shrink_to.height() <= size.height();
    const QSize made = shrinking ? shrink_to : size;
    const uchar* reusable = memory.isNull() ? nullptr : memory.constBits();
    d.image = picture_memory(made, memory);
    const bool fresh = d.image.constBits() != reusable;
    if (d.image.isNull()) {
        d.failure = QStringLiteral("not enough memory for %1 x %2 pixels")
                        .arg(made.width())
                        .arg(made.height());
        return false;
    }
    if (shrinking)
        d.shrink = std::make_unique<ShrinkPipe>(
            size, d.image, qMax(1, int(shrink_band_bytes / (qsizetype(size.width()) * 4))));
    // Progressive files read all their data here.
    jpeg_start_decompress(&info);
    if (cmyk) d.cmyk_rows.resize(size_t(size.width()) * 4 * rows_per_call);
    if (shrinking) {
        while (info.output_scanline < info.output_height) {
            uchar* band = d.shrink->band();
            int rows = 0;
            while (rows < d.shrink->band_rows() && info.output_scanline < info.output_height)
                rows += read_rows(d, band + rows * d.shrink->band_line(), d.shrink->band_line(),
                                  d.shrink->band_rows() - rows);
            d.shrink->hand_over(rows);
            if (d.stopped()) return false;
        }
    } else {
        // Fresh memory is made resident by a second thread just ahead of the
        // decoder; memory reused from the picture shown before already is.
        const int band_rows = qMax(1, int(band_bytes / d.image.bytesPerLine()));
        const qsizetype line = d.image.bytesPerLine();
        uchar* bits = d.image.bits();
        if (fresh && size.height() > band_rows)
            d.ahead = std::make_unique<RowsAhead>(d.image, band_rows / 2);
        // Written through `bits` alone from here, so the shared copy never
        // makes the decoder's picture detach.
        if (d.watch != nullptr && eighths == 8) d.watch->show_rows(d.image);
        while (info.output_scanline < info.output_height) {
            const int y = int(info.output_scanline);
            read_rows(d, bits + y * line, line, size.height() - y);
            if (d.ahead) d.ahead->reached(int(info.output_scanline));
            if (d.stopped()) return false;
        }
    }
    // A missing end marker after the last row costs nothing.
    d.errors.all_rows = true;
    jpeg_finish_decompress(&info);
    if (shrinking && !d.shrink->finish()) {
        d.failure = QStringLiteral("the shrunk picture is incomplete");
        return false;
    }
    return true;
}

// Decodes `region` into d.image; false when libjpeg stopped it. A progressive
// or CMYK file gives nothing: the first reads all its data before its first
// row, and both are rare among photos.
bool run_region(Decoding& d, std::FILE* input, QRect region) {
    jpeg_decompress_struct& info = d.info;
    if (setjmp(d.errors.escape)) return false;
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    if (info.progressive_mode || info.jpeg_color_space == JCS_CMYK ||
        info.jpeg_color_space == JCS_YCCK)
        return true;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    region &= QRect(0, 0, int(info.output_width), int(info.output_height));
    if (region.isEmpty()) return true;
    // The columns start at a block's edge, at or left of the region's.
    JDIMENSION left = JDIMENSION(region.x());
    JDIMENSION width = JDIMENSION(region.width());
    if (width < info.output_width) jpeg_crop_scanline(&info, &left, &width);
    if (region.y() > 0) jpeg_skip_scanlines(&info, JDIMENSION(region.y()));
    QImage rows(int(info.output_width), region.height(), QImage::Format_RGB32);
    if (rows.isNull()) return true;
    const qsizetype line = rows.bytesPerLine();
    for (int y = 0; y < region.height();)
        y += read_rows(d, rows.bits() + y * line, line, region.height() - y);
    jpeg_abort_decompress(&info);
    d.image = rows.copy(region.x() - int(left), 0, region.width(), region.height());
    return true;
}

// libjpeg's decompressor with every warning watched.
void start_decoding(Decoding& d) {
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = stop_on_error;
    d.errors.manager.emit_message = watch_warning;
    jpeg_create_decompress(&d.info);
}

} // namespace

const char* const decoding_stopped = "the picture is no longer wanted";

JpegPicture decode_jpeg_region(const QString& path, QRect region) {
    OpenFile input(path);
    if (!input.file) return {QImage(), QStringLiteral("the file cannot be read")};
    Decoding d;
    start_decoding(d);
    const bool done = run_region(d, input.file, region);
    jpeg_destroy_decompress(&d.info);
    if (!done) return {QImage(), QStringLiteral("damaged picture data")};
    return {std::move(d.image), QString()};
}

JpegPicture decode_jpeg(const QString& path, int eighths, QImage memory, QSize shrink_to,
                        DecodeWatch* watch) {
    OpenFile input(path);
    if (!input.file) return {QImage(), QStringLiteral("the file cannot be read")};
    Decoding d;
    d.watch = watch;
    start_decoding(d);
    const bool done = run(d, input.file, eighths, memory, shrink_to);
    d.shrink.reset(); // waits for the band being shrunk
    d.ahead.reset();
    if (watch != nullptr) watch->show_rows(QImage());
    const int rows = int(d.info.output_height);
    const bool progressive = d.info.progressive_mode;
    jpeg_destroy_decompress(&d.info);
    if (done) return {std::move(d.image), QString()};
    if (!d.failure.isEmpty()) return {QImage(), d.failure};
    if (!d.errors.data_ended)
        return {QImage(), QStringLiteral("damaged picture data (%1)")
                              .arg(QString::fromLocal8Bit(d.errors.first_error))};
    if (d.covered == 0 || progressive)
        return {QImage(), QStringLiteral("the file is truncated or damaged: its data ends before "
                                         "it covers the picture")};
    return {QImage(), QStringLiteral("the file is truncated or damaged: its data covers %1 of "
                                     "the picture's %2 rows")
                          .arg(d.covered)
                          .arg(rows)};
}
