// SPDX-License-Identifier: MIT
#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>

QColor to_qcolor(Colour c) {
    if (!is_system_colour(c)) return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    const QPalette palette = QGuiApplication::palette();
    switch (c & 0xFF) {
    case 5:
        return palette.color(QPalette::Base);
    case 8:
        return palette.color(QPalette::WindowText);
    case 15:
        return palette.color(QPalette::Button);
    case 18:
        return palette.color(QPalette::ButtonText);
    case 13:
        return palette.color(QPalette::Highlight);
    case 14:
        return palette.color(QPalette::HighlightedText);
    default:
        return palette.color(QPalette::Window);
    }
}
