// SPDX-License-Identifier: MIT
#include "widgets/click_label.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::set_fore_colour(Colour c) {
    fore_ = c;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, to_qcolor(c));
    setPalette(p);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt would take the second press for a press of its own, and its release
    // for a second click: a double-click is one click.
    pressed_ = false;
}

void ClickLabel::set_shrink_to_fit(bool on) {
    shrink_to_fit_ = on;
    update();
}

QFont ClickLabel::shown_font() const {
    QFont shown = font();
    const QString caption = text();
    const double room = contentsRect().width();
    const auto width = [&](const QFont& f) {
        return QFontMetricsF(f, this).horizontalAdvance(caption);
    };
    const double wide = width(shown);
    if (!shrink_to_fit_ || wide <= room || shown.pointSizeF() <= 0) return shown;
    // From the proportional size down in quarter points: glyph widths do not
    // scale exactly with the size, hinted fonts least of all.
    constexpr double smallest = 1.0;
    double size = std::max(smallest, shown.pointSizeF() * room / wide);
    for (;;) {
        shown.setPointSizeF(size);
        if (size <= smallest || width(shown) <= room) return shown;
        size = std::max(smallest, size - 0.25);
    }
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    const QFont shown = shown_font();
    if (shown == font()) {
        QLabel::paintEvent(event);
        return;
    }
    // The label's own plain-text painting, in the smaller size.
    QPainter painter(this);
    painter.setFont(shown);
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), text(), foregroundRole());
}
