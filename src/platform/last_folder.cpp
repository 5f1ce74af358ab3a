// SPDX-License-Identifier: MIT
#include "platform/last_folder.h"

#include "platform/user_settings.h"

#include <QFileInfo>

namespace {
const QString key = QStringLiteral("dialogs/last_folder");
} // namespace

QString last_folder() {
    const QString folder = user_settings().value(key).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void remember_folder_of(const QString& file) {
    QSettings s = user_settings();
    s.setValue(key, QFileInfo(file).absolutePath());
    s.sync();
    // A settings file that cannot be written costs only the folder; the file
    // the user chose is not affected, so nothing is said.
}
