// SPDX-License-Identifier: MIT
#include "widgets/scroll_bar.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

void draw_scroll_bar_plainly(QScrollBar* bar) {
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return;
    QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"));
    if (plain == nullptr) return;
    plain->setParent(bar); // a widget does not own the style it is given
    bar->setStyle(plain);
}
