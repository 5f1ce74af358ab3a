#include "platform/picture_io.h"

#include "platform/downscale.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QPainter>
#include <QTransform>
#include <QtMath>

#include <sys/mman.h>

namespace {

constexpr qint64 kLimitBytes = qint64(1) << 30; // 1 GiB: about 268 megapixels

// Qt's JPEG decoder reports a truncated file only as a warning and hands back
// a picture whose missing part is grey. Such a file is damaged: catch the
// warning while we decode.
QtMessageHandler previous_handler = nullptr;
bool truncation_seen = false;

void catch_truncation(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // libjpeg says "Premature end of JPEG file" or "premature end of data segment".
    if (message.contains(QLatin1String("premature end"), Qt::CaseInsensitive))
        truncation_seen = true;
    else if (previous_handler)
        previous_handler(type, context, message);
}

class TruncationWatch {
public:
    TruncationWatch() {
        truncation_seen = false;
        previous_handler = qInstallMessageHandler(catch_truncation);
    }
    ~TruncationWatch() { qInstallMessageHandler(previous_handler); }
    bool truncated() const { return truncation_seen; }
};

void set_allocation_limit() {
    // Qt refuses pictures over 128 MB by default, which excludes ordinary
    // 50-megapixel photos; we set our own limit and say so past it.
    QImageReader::setAllocationLimit(static_cast<int>(kLimitBytes >> 20));
}

QString reader_error(const QImageReader& reader) {
    switch (reader.error()) {
    case QImageReader::FileNotFoundError: return QStringLiteral("file not found");
    case QImageReader::DeviceError: return QStringLiteral("the file cannot be read");
    case QImageReader::UnsupportedFormatError: return QStringLiteral("not a picture");
    case QImageReader::InvalidDataError:
        return QStringLiteral("damaged picture data (%1)").arg(reader.errorString());
    default: return reader.errorString();
    }
}

quint32 le32(const QByteArray& b, int at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

// Qt reads a truncated uncompressed BMP without complaint and leaves the
// missing rows black; the header says how long the file must be.
bool bmp_truncated(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(54);
    if (head.size() < 34 || !head.startsWith("BM")) return false;
    const quint32 offset = le32(head, 10);
    const qint64 width = qint32(le32(head, 18));
    const qint64 height = qint32(le32(head, 22));
    const int bits = quint8(head[28]) | quint8(head[29]) << 8;
    const quint32 compression = le32(head, 30);
    if (le32(head, 14) < 40 || (compression != 0 && compression != 3)) return false;
    const qint64 stride = ((qAbs(width) * bits + 31) / 32) * 4;
    return file.size() < qint64(offset) + stride * qAbs(height);
}

// Checks what can be checked before decoding; fills `size` with the stored size.
QString preflight(QImageReader& reader, const QString& path, QSize* size) {
    set_allocation_limit();
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("file not found");
    if (!info.isFile()) return QStringLiteral("not a file");
    if (!info.isReadable()) return QStringLiteral("permission denied");
    if (!reader.canRead()) return reader_error(reader);
    if (reader.format() == "bmp" && bmp_truncated(path)) return QStringLiteral("the file is truncated");
    *size = reader.size();
    if (size->isValid()) {
        const qint64 bytes = qint64(size->width()) * size->height() * 4;
        if (bytes > kLimitBytes)
            return QStringLiteral("picture too large (%1 x %2 pixels, %3 MB decoded; the limit is %4 MB)")
                .arg(size->width())
                .arg(size->height())
                .arg(bytes >> 20)
                .arg(kLimitBytes >> 20);
    }
    return QString();
}

// A large picture's memory, mapped for it alone with its pages made present
// in one call, on huge pages where the system has them: a 24-megapixel photo
// otherwise costs some 24,000 page faults as the decoder first writes it, a
// third of the time of decoding it on a virtual machine. A null image when
// the memory cannot be had; the decoder then allocates its own.
struct Mapping {
    void* address;
    size_t length;
};

void unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

QImage mapped_rgb32(QSize size) {
    constexpr qint64 worth_mapping = qint64(8) << 20;
    const qsizetype row = qsizetype(size.width()) * 4;
    const size_t length = size_t(row) * size_t(size.height());
    if (size.isEmpty() || qint64(length) < worth_mapping) return QImage();
    void* address =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) return QImage();
#ifdef MADV_HUGEPAGE
    ::madvise(address, length, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    ::madvise(address, length, MADV_POPULATE_WRITE); // a hint: faults still work without it
#endif
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), row,
                 QImage::Format_RGB32, unmap, new Mapping{address, length});
    if (image.isNull()) ::munmap(address, length);
    return image;
}

// The DCT scale M/8 Qt's JPEG reader takes when asked for `asked` of a
// picture stored at `stored`: the smallest M for which M/8 is at least
// asked/stored in both directions, worked out as the reader works it out.
int qt_jpeg_eighths(QSize stored, QSize asked) {
    const double f =
        qMin(double(stored.width()) / asked.width(), double(stored.height()) / asked.height());
    return qBound(1, qCeil(8 / f), 8);
}

// libjpeg's size for a picture decoded at M/8: the scaled sides rounded up.
QSize jpeg_eighths_size(QSize stored, int m) {
    return QSize(int((qint64(stored.width()) * m + 7) / 8),
                 int((qint64(stored.height()) * m + 7) / 8));
}

// The size to have a JPEG decoded at for showing `asked` of it: that of the
// smallest DCT scale M/8 at least as large, when Qt's reader, asked for just
// that size, decodes at M/8 and so has nothing left to resample (it would
// resample into a second picture). Where a side does not divide by 8 the
// rounded-up size makes the reader take (M + 1)/8, so a larger M is tried,
// up to the stored size.
QSize jpeg_decoding_size(QSize stored, QSize asked) {
    for (int m = qt_jpeg_eighths(stored, asked); m < 8; ++m) {
        const QSize size = jpeg_eighths_size(stored, m);
        if (size.width() >= asked.width() && size.height() >= asked.height() &&
            qt_jpeg_eighths(stored, size) == m)
            return size;
    }
    return stored;
}

// Turns a picture read as stored upright, as QImageReader's own automatic
// transformation does.
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

QString failure(const QString& path, const QString& why) {
    return QStringLiteral("Could not read %1: %2").arg(path, why);
}

LoadedPicture finish(QImageReader& reader, const QString& path, const TruncationWatch& watch,
                     QImage image) {
    if (image.isNull()) return {QImage(), failure(path, reader_error(reader))};
    if (watch.truncated()) return {QImage(), failure(path, QStringLiteral("the file is truncated"))};
    if (image.format() != QImage::Format_RGB32) {
        // Transparent pictures show over white, as a viewer shows them.
        if (image.hasAlphaChannel()) {
            QImage flat(image.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            flat.setDevicePixelRatio(image.devicePixelRatio());
            QPainter p(&flat);
            p.drawImage(0, 0, image);
            p.end();
            image = std::move(flat);
        } else {
            image.convertTo(QImage::Format_RGB32);
        }
    }
    return {std::move(image), QString()};
}

} // namespace

LoadedPicture load_picture(const QString& path) {
    return load_picture_reusing(path, QImage());
}

LoadedPicture load_picture_reusing(const QString& path, QImage memory) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size;
    if (const QString why = preflight(reader, path, &size); !why.isEmpty())
        return {QImage(), failure(path, why)};
    // Qt's decoders write into the image they are given when its size and
    // format are those of the picture, and make a new one otherwise.
    if (memory.size() != size || memory.format() != QImage::Format_RGB32) {
        memory = QImage(); // let the unfit memory go before mapping new
        memory = mapped_rgb32(size);
    }
    TruncationWatch watch;
    if (!reader.read(&memory)) memory = QImage();
    return finish(reader, path, watch, std::move(memory));
}

LoadedPicture load_picture_scaled(const QString& path, QSize shown) {
    if (shown.isEmpty())
        return {QImage(), failure(path, QStringLiteral("no size to show it at (%1 x %2 pixels)")
                                            .arg(shown.width())
                                            .arg(shown.height()))};
    QImageReader reader(path);
    // Turned upright here, after shrinking: the reader would turn the larger
    // decoded picture into a copy of itself.
    reader.setAutoTransform(false);
    QSize stored;
    if (const QString why = preflight(reader, path, &stored); !why.isEmpty())
        return {QImage(), failure(path, why)};
    const QImageIOHandler::Transformations how = reader.transformation();
    const QSize asked = how & QImageIOHandler::TransformationRotate90 ? shown.transposed() : shown;
    // JPEG is decoded at the DCT scale M/8 just at or above the size asked (a
    // 24-megapixel photo at 30% decodes 3/8 of it in each direction, about a
    // seventh of the work and memory); other formats are decoded whole. The
    // rest of the way is shrunk in the decoded picture's own memory, so a
    // step holds one picture at a time.
    const bool jpeg = reader.format() == "jpeg";
    const QSize decoded = jpeg && stored.isValid() ? jpeg_decoding_size(stored, asked) : stored;
    if (decoded != stored) reader.setScaledSize(decoded);
    QImage image = jpeg ? mapped_rgb32(decoded) : QImage();
    TruncationWatch watch;
    if (!reader.read(&image)) image = QImage();
    LoadedPicture loaded = finish(reader, path, watch, std::move(image));
    if (!loaded.ok()) return loaded;
    downscale_in_place(loaded.image, asked);
    loaded.image = turned_upright(std::move(loaded.image), how);
    return loaded;
}

QSize read_picture_size(const QString& path, QString* error) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size;
    if (const QString why = preflight(reader, path, &size); !why.isEmpty()) {
        if (error) *error = failure(path, why);
        return QSize();
    }
    if (!size.isValid()) {
        // A file that starts like a picture but whose header gives no size.
        if (error) *error = failure(path, QStringLiteral("not a picture"));
        return QSize();
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    return size;
}
