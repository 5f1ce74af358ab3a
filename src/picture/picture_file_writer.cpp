// SPDX-License-Identifier: MIT
#include "picture/picture_file_writer.h"

#include "picture/bmp_stream_writer.h"
#include "picture/jpeg_stream_writer.h"
#include "picture/png_stream_writer.h"

PictureFileKind picture_file_kind(const QString& path) {
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return PictureFileKind::png;
    if (path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
        path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive))
        return PictureFileKind::jpeg;
    return PictureFileKind::bmp;
}

std::unique_ptr<PictureFileWriter> make_picture_file_writer(const QString& path, qint64 width,
                                                            qint64 height) {
    switch (picture_file_kind(path)) {
    case PictureFileKind::png:
        return std::make_unique<PngStreamWriter>(path, width, height);
    case PictureFileKind::jpeg:
        return std::make_unique<JpegStreamWriter>(path, width, height);
    case PictureFileKind::bmp:
        break;
    }
    return std::make_unique<BmpStreamWriter>(path, width, height);
}
