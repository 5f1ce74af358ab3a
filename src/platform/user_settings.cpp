// SPDX-License-Identifier: MIT
#include "platform/user_settings.h"

QSettings user_settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kelvo"),
                     QStringLiteral("kelvo"));
}
