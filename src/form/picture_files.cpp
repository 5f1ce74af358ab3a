// SPDX-License-Identifier: MIT
#include "form/picture_files.h"

#include <QFileInfo>
#include <QStringList>

namespace {
// The formats the decoder reads (Qt's own and Debian's image format plugins).
const QStringList extensions = {
    QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
    QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp")};
} // namespace

QString all_picture_patterns() {
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e;
    return patterns.join(QLatin1Char(';'));
}

bool is_picture_name(const QString& path) {
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

bool is_scale_file_name(const QString& path) {
    return QFileInfo(path).suffix().toLower() == QLatin1String("kvo");
}
