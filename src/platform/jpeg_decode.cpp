#include "platform/jpeg_decode.h"

#include "platform/picture_memory.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
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

// Everything a decoding touches, kept out of the frame that libjpeg's errors
// jump back to.
struct Decoding {
    jpeg_decompress_struct info{};
    Errors errors;
    QImage image;
    std::vector<uchar> cmyk_row;
    int covered = 0; // rows decoded from data so far
    QString failure; // set before returning false without a libjpeg error
};

// Decodes into d.image; false when libjpeg stopped it (or memory failed).
bool run(Decoding& d, std::FILE* input, int eighths, QImage& memory) {
    jpeg_decompress_struct& info = d.info;
    if (setjmp(d.errors.escape)) return false;
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    info.scale_num = unsigned(qBound(1, eighths, 8));
    info.scale_denom = 8;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA; // BGRA: the X byte is set to 0xFF
    jpeg_calc_output_dimensions(&info);
    const QSize size(int(info.output_width), int(info.output_height));
    if (memory.size() == size && memory.format() == QImage::Format_RGB32)
        d.image = std::move(memory);
    else
        d.image = unpopulated_rgb32(size);
    if (d.image.isNull()) d.image = QImage(size, QImage::Format_RGB32);
    if (d.image.isNull()) {
        d.failure = QStringLiteral("not enough memory for %1 x %2 pixels")
                        .arg(size.width())
                        .arg(size.height());
        return false;
    }
    // Progressive files read all their data here.
    jpeg_start_decompress(&info);
    if (cmyk) d.cmyk_row.resize(size_t(size.width()) * 4);
    const int band_rows = qMax(1, int(band_bytes / d.image.bytesPerLine()));
    int present_to = 0;
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (y >= present_to) {
            make_rows_present(d.image, y, band_rows);
            present_to = y + band_rows;
        }
        JSAMPROW row = cmyk ? d.cmyk_row.data() : d.image.scanLine(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Adobe's inverted CMYK, as photo programs write it.
            auto* out = reinterpret_cast<QRgb*>(d.image.scanLine(y));
            const uchar* in = d.cmyk_row.data();
            for (int x = 0; x < size.width(); ++x, in += 4) {
                const int k = in[3];
                out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
            }
        }
        d.covered = int(info.output_scanline);
    }
    // A missing end marker after the last row costs nothing.
    d.errors.all_rows = true;
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

JpegPicture decode_jpeg(const QString& path, int eighths, QImage memory) {
    OpenFile input(path);
    if (!input.file) return {QImage(), QStringLiteral("the file cannot be read")};
    Decoding d;
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = stop_on_error;
    d.errors.manager.emit_message = watch_warning;
    jpeg_create_decompress(&d.info);
    const bool done = run(d, input.file, eighths, memory);
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

