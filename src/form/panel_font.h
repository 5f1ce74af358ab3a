// SPDX-License-Identifier: MIT
#pragma once
// The typeface of the window's panels, the tutorial and the version panel:
// Times New Roman (on Debian, fonts-liberation supplies a metric twin). The
// caller sets the size.

#include <QFont>
#include <QString>

inline QFont panel_font() {
    return QFont(QStringLiteral("Times New Roman"));
}
