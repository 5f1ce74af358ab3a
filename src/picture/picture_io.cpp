// SPDX-License-Identifier: MIT
#include "picture/picture_io.h"

#include "picture/bmp_bands.h"
#include "picture/downscale.h"
#include "picture/jpeg_decode.h"
#include "picture/picture_header.h"
#include "picture/picture_memory.h"
#include "platform/regular_file.h"

#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <QtNumeric>
#include <limits>

namespace {

constexpr qint64 kLimitBytes = qint64(1) << 30; // 1 GiB: about 268 megapixels

void set_allocation_limit() {
    // Qt refuses pictures over 128 MB by default, which excludes ordinary
    // 50-megapixel photos; we set our own limit and say so past it. Set once:
    // pictures are read on worker threads too, and the limit is Qt's global.
    static const bool set = [] {
        QImageReader::setAllocationLimit(static_cast<int>(kLimitBytes >> 20));
        return true;
    }();
    (void)set;
}

QString reader_error(const QImageReader& reader) {
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return QStringLiteral("file not found");
    case QImageReader::DeviceError:
        return QStringLiteral("the file cannot be read");
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("not a picture");
    case QImageReader::InvalidDataError:
        return QStringLiteral("damaged picture data (%1)").arg(reader.errorString());
    default:
        return reader.errorString();
    }
}

// What reading a file will take, known before decoding it.
struct Plan {
    QSize stored;                         // as the decoder produces it, before turning
    QImageIOHandler::Transformations how; // the EXIF turn to show it upright
    bool jpeg = false;                    // decoded by the program's own JPEG decoder
    bool bmp = false;
    bool complete = false; // the file holds every byte of its pixels
};

// The memory a picture of `size` costs at its peak: the decoder's own
// picture, a 32-bit copy when its format cannot be turned into 32-bit RGB in
// place, and a turned copy when it is stored sideways. The largest value
// past 63 bits.
qint64 peak_bytes(QSize size, int decoded_depth, bool turned) {
    const qint64 pixels = qint64(size.width()) * size.height(); // below 2^62
    const qint64 bits_per_pixel =
        qMax(decoded_depth, 1) + 32 * (int(decoded_depth != 32) + int(turned));
    qint64 bits = 0;
    if (qMulOverflow(pixels, bits_per_pixel, &bits)) return std::numeric_limits<qint64>::max();
    return bits / 8;
}

// Checks what can be checked before decoding.
QString preflight(QImageReader& reader, const QString& path, Plan* plan) {
    set_allocation_limit();
    {
        QFile file;
        if (const QString why = open_regular_file(path, file); !why.isEmpty()) return why;
    }
    if (!reader.canRead()) return reader_error(reader);
    const QByteArray format = reader.format();
    const PictureHeader header = read_picture_header(path, format);
    plan->jpeg = format == "jpeg";
    plan->bmp = format == "bmp";
    plan->complete = header.complete;
    plan->stored = header.size.isValid() ? header.size : reader.size();
    plan->how = reader.transformation();
    if (plan->stored.isValid()) {
        const QImage::Format decoded = reader.imageFormat();
        const int depth = plan->jpeg || decoded == QImage::Format_Invalid
                              ? 32
                              : QImage::toPixelFormat(decoded).bitsPerPixel();
        const bool turned = plan->how & QImageIOHandler::TransformationRotate90;
        const qint64 bytes = peak_bytes(plan->stored, depth, turned);
        if (bytes > kLimitBytes)
            return QStringLiteral(
                       "picture too large (%1 x %2 pixels, %3 MB decoded; the limit is %4 MB)")
                .arg(plan->stored.width())
                .arg(plan->stored.height())
                .arg(bytes >> 20)
                .arg(kLimitBytes >> 20);
    }
    if (!header.refusal.isEmpty()) return header.refusal;
    return QString();
}

// The DCT scale M/8 to decode a JPEG stored at `stored` at for showing
// `asked` of it: the smallest M whose picture (sides rounded up, as libjpeg
// rounds them) is at least as large in both directions.
int jpeg_eighths(QSize stored, QSize asked) {
    for (int m = 1; m < 8; ++m)
        if ((qint64(stored.width()) * m + 7) / 8 >= asked.width() &&
            (qint64(stored.height()) * m + 7) / 8 >= asked.height())
            return m;
    return 8;
}

// Turns a picture read as stored upright. Mirroring works in the picture's
// own memory; a quarter turn makes a copy, which the size limit counts.
QImage turned_upright(QImage image, QImageIOHandler::Transformations how) {
    if (how == QImageIOHandler::TransformationNone) return image;
    if (how == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(how & QImageIOHandler::TransformationMirror,
                                      how & QImageIOHandler::TransformationFlip);
    if (how & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// Transparent pictures show over white, as a viewer shows them, worked out
// in the picture's own memory: a channel c of alpha a becomes
// (c a + 255 (255 - a)) / 255, or c + 255 - a where c is premultiplied.
void flatten_over_white(QImage& image) {
    if (image.format() == QImage::Format_RGB32) return;
    if (!image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_RGB32);
        return;
    }
    if (image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_ARGB32_Premultiplied); // in place from 32-bit formats
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    const auto over_white = [](uint c, uint a) {
        const uint x = c * a + 255 * (255 - a);
        return (x + 128 + ((x + 128) >> 8)) >> 8; // x / 255, rounded
    };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const uint a = uint(qAlpha(p));
            if (a == 255) continue;
            row[x] = premultiplied
                         ? qRgb(qRed(p) + 255 - a, qGreen(p) + 255 - a, qBlue(p) + 255 - a)
                         : qRgb(over_white(qRed(p), a), over_white(qGreen(p), a),
                                over_white(qBlue(p), a));
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

QString failure(const QString& path, const QString& why) {
    return QStringLiteral("Could not read %1: %2").arg(path, why);
}

// Decodes the file of `plan` as stored, at `eighths`/8 for JPEG, into
// `memory` when it fits; 32-bit RGB, not yet turned upright. A JPEG is shrunk
// to `shrink_to` as it is decoded, when that is given.
LoadedPicture decode(QImageReader& reader, const QString& path, const Plan& plan, int eighths,
                     QImage memory, QSize shrink_to = QSize(), DecodeWatch* watch = nullptr) {
    if (plan.jpeg) {
        JpegPicture jpeg = decode_jpeg(path, eighths, std::move(memory), shrink_to, watch);
        if (!jpeg.error.isEmpty()) return {QImage(), failure(path, jpeg.error)};
        return {std::move(jpeg.image), QString()};
    }
    // Qt's decoders write into the image they are given when its size and
    // format are those of the picture, and make a new one otherwise. Memory
    // is made resident ahead of the decoder only for a file that holds every
    // byte of its pixels: for any other, it follows the data decoded.
    if (memory.size() != plan.stored || memory.format() != QImage::Format_RGB32) {
        memory = QImage(); // let the unfit memory go before mapping new
        if (plan.complete) {
            memory = unpopulated_rgb32(plan.stored);
            make_rows_present(memory, 0, memory.height());
        }
    }
    if (!reader.read(&memory)) return {QImage(), failure(path, reader_error(reader))};
    flatten_over_white(memory);
    return {std::move(memory), QString()};
}

} // namespace

LoadedPicture load_picture_reusing(const QString& path, QImage memory, DecodeWatch* watch) {
    QImageReader reader(path);
    reader.setAutoTransform(false); // turned below, counted against the limit
    Plan plan;
    if (const QString why = preflight(reader, path, &plan); !why.isEmpty())
        return {QImage(), failure(path, why)};
    LoadedPicture loaded = decode(reader, path, plan, 8, std::move(memory), QSize(), watch);
    if (loaded.ok()) loaded.image = turned_upright(std::move(loaded.image), plan.how);
    return loaded;
}

LoadedPicture load_picture_scaled(const QString& path, QSize shown, QImage memory,
                                  DecodeWatch* watch) {
    if (shown.isEmpty())
        return {QImage(), failure(path, QStringLiteral("no size to show it at (%1 x %2 pixels)")
                                            .arg(shown.width())
                                            .arg(shown.height()))};
    QImageReader reader(path);
    // Turned upright here, after shrinking: turning the larger decoded
    // picture would copy it.
    reader.setAutoTransform(false);
    Plan plan;
    if (const QString why = preflight(reader, path, &plan); !why.isEmpty())
        return {QImage(), failure(path, why)};
    QSize asked = plan.how & QImageIOHandler::TransformationRotate90 ? shown.transposed() : shown;
    // JPEG is decoded at the DCT scale M/8 just at or above the size asked (a
    // 24-megapixel photo at 30% decodes 3/8 of it in each direction, about a
    // seventh of the work and memory), and its rows are shrunk the rest of the
    // way as they are decoded, so it is never held whole.
    const int eighths = plan.jpeg && plan.stored.isValid() ? jpeg_eighths(plan.stored, asked) : 8;
    // An uncompressed bitmap is shrunk band by band as it is read; other
    // formats are decoded whole and shrunk in their own memory, so a step
    // holds one picture at a time.
    if (plan.bmp && plan.complete) {
        BmpBands bands = shrink_bmp_rows(path, asked, std::move(memory));
        if (bands.handled) {
            if (!bands.error.isEmpty()) return {QImage(), failure(path, bands.error)};
            return {std::move(bands.image), QString()};
        }
    }
    if (!plan.jpeg) memory = QImage();
    LoadedPicture loaded =
        decode(reader, path, plan, eighths, std::move(memory), plan.jpeg ? asked : QSize(), watch);
    if (!loaded.ok()) return loaded;
    // Should the decoder have produced another size than the header gave,
    // the picture shown is the decoded one, at the fraction asked.
    const QSize decoded_full = plan.jpeg ? plan.stored : loaded.image.size();
    if (plan.stored.isValid() && decoded_full != plan.stored)
        asked = QSize(
            qMax(1, int(qint64(decoded_full.width()) * asked.width() / plan.stored.width())),
            qMax(1, int(qint64(decoded_full.height()) * asked.height() / plan.stored.height())));
    if (loaded.image.width() >= asked.width() && loaded.image.height() >= asked.height())
        downscale_in_place(loaded.image, asked);
    else
        loaded.image = loaded.image.scaled(asked, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    loaded.image = turned_upright(std::move(loaded.image), plan.how);
    return loaded;
}

LoadedPicture load_picture_region(const QString& path, QRect region) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    Plan plan;
    if (const QString why = preflight(reader, path, &plan); !why.isEmpty())
        return {QImage(), failure(path, why)};
    if (plan.how != QImageIOHandler::TransformationNone) return {};
    if (plan.bmp && plan.complete) {
        BmpBands rows = read_bmp_region(path, region);
        if (!rows.error.isEmpty()) return {QImage(), failure(path, rows.error)};
        return {std::move(rows.image), QString()};
    }
    if (!plan.jpeg) return {};
    JpegPicture jpeg = decode_jpeg_region(path, region);
    if (!jpeg.error.isEmpty()) return {QImage(), failure(path, jpeg.error)};
    return {std::move(jpeg.image), QString()};
}

bool jpeg_stored_upright(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.format() == "jpeg" &&
           reader.transformation() == QImageIOHandler::TransformationNone;
}

PictureSize read_picture_size(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    Plan plan;
    if (const QString why = preflight(reader, path, &plan); !why.isEmpty())
        return {QSize(), failure(path, why)};
    QSize size = plan.stored;
    // A file that starts like a picture but whose header gives no size.
    if (!size.isValid()) return {QSize(), failure(path, QStringLiteral("not a picture"))};
    if (plan.how & QImageIOHandler::TransformationRotate90) size.transpose();
    return {size, QString()};
}
