#include "platform/last_folder.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString key = QStringLiteral("dialogs/last_folder");

QSettings settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kelvo"),
                     QStringLiteral("kelvo"));
}
} // namespace

QString last_folder() {
    const QString folder = settings().value(key).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void remember_folder_of(const QString& file) {
    QSettings s = settings();
    s.setValue(key, QFileInfo(file).absolutePath());
    s.sync();
    // A settings file that cannot be written costs only the folder; the file
    // the user chose is not affected, so nothing is said.
}
