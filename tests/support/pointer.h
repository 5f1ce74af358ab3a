// SPDX-License-Identifier: MIT
#pragma once
// Pointer input for widget tests: the events the platform delivers, sent
// straight to the element. Every fixture sends pointer input this way.
// QTest::mouseMove moves the global cursor instead, and a move to where an
// earlier test left it delivers nothing; QTest also remembers held buttons
// from one test to the next. Nothing here depends on what ran before.

#include <QApplication>
#include <QMouseEvent>
#include <QPointF>
#include <QWidget>

namespace pointer {

// Where a place of (-1, -1) points: the element's middle, as a user aims.
inline QPointF at_or_middle(QWidget* w, QPointF at) {
    return at == QPointF(-1, -1) ? QPointF(w->rect().center()) : at;
}

inline void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
                 Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    at = at_or_middle(w, at);
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(w, &event);
}

inline void press(QWidget* w, Qt::MouseButton button, QPointF at = {-1, -1},
                  Qt::KeyboardModifiers keys = Qt::NoModifier) {
    send(w, QEvent::MouseButtonPress, at, button, button, keys);
}
inline void release(QWidget* w, Qt::MouseButton button, QPointF at = {-1, -1}) {
    send(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}
inline void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPointF at = {-1, -1},
                  Qt::KeyboardModifiers keys = Qt::NoModifier) {
    press(w, button, at, keys);
    release(w, button, at);
}
// A move with `held` buttons down (a drag when any).
inline void move(QWidget* w, QPointF at, Qt::MouseButtons held = Qt::NoButton,
                 Qt::KeyboardModifiers keys = Qt::NoModifier) {
    send(w, QEvent::MouseMove, at, Qt::NoButton, held, keys);
}
// What the platform delivers for a double-click: press, release, double-click, release.
inline void double_click(QWidget* w, Qt::MouseButton button = Qt::LeftButton,
                         QPointF at = {-1, -1}) {
    click(w, button, at);
    send(w, QEvent::MouseButtonDblClick, at, button, button);
    release(w, button, at);
}

} // namespace pointer
