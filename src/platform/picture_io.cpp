#include "platform/picture_io.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QPainter>

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

qint64 picture_memory_limit() { return kLimitBytes; }

LoadedPicture load_picture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size;
    if (const QString why = preflight(reader, path, &size); !why.isEmpty())
        return {QImage(), failure(path, why)};
    TruncationWatch watch;
    QImage image = reader.read();
    return finish(reader, path, watch, std::move(image));
}

LoadedPicture load_picture_scaled(const QString& path, QSize shown) {
    LoadedPicture full = load_picture(path);
    if (!full.ok() || full.image.size() == shown) return full;
    full.image = full.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return full;
}

QSize read_picture_size(const QString& path, QString* error) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size;
    if (const QString why = preflight(reader, path, &size); !why.isEmpty()) {
        if (error) *error = failure(path, why);
        return QSize();
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    return size;
}
