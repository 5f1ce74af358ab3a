// SPDX-License-Identifier: MIT
#include "platform/recent_pictures.h"

#include "platform/user_settings.h"

#include <QFileInfo>

namespace {
const QString key = QStringLiteral("pictures/recent");

QString absolute(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

// A settings file that cannot be written costs only the list; the picture
// itself is not affected, so nothing is said.
void keep(const QStringList& files) {
    QSettings s = user_settings();
    s.setValue(key, files);
    s.sync();
}
} // namespace

QStringList recent_pictures() {
    QStringList files = user_settings().value(key).toStringList();
    files.removeAll(QString());
    return files.mid(0, recent_picture_count);
}

void remember_recent_picture(const QString& file) {
    const QString path = absolute(file);
    QStringList files = recent_pictures();
    files.removeAll(path);
    files.prepend(path);
    keep(files.mid(0, recent_picture_count));
}

void forget_recent_picture(const QString& file) {
    QStringList files = recent_pictures();
    if (files.removeAll(absolute(file)) > 0) keep(files);
}
