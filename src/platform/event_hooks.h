// SPDX-License-Identifier: MIT
#pragma once
// Small adapters that give a widget the event handlers the program's elements
// have: a key-press handler that sees the character code and may cancel the
// key, a resize handler and a wheel handler.

#include <QObject>
#include <QPoint>
#include <functional>
#include <initializer_list>

class QWidget;

// `handler` gets the character code of each key press (13 for Enter or
// Return, the key's text otherwise, 0 when it has none) and may set it to 0 to
// cancel the key, which then never reaches the widget.
using KeyPressHandler = std::function<void(int& key_ascii)>;
void on_key_press(QWidget* widget, KeyPressHandler handler);

// Presses of `keys` on `widget` that only repeat a key held down go no
// further: a held key acts once. Qt marks most repeats (isAutoRepeat), but
// on X11 it sees some as a release and a new press; those come with the
// release's own timestamp, which no hand can match.
void ignore_key_repeats(QWidget* widget, std::initializer_list<int> keys);

// `handler` runs after every resize of `widget`.
void on_resize(QWidget* widget, std::function<void()> handler);

// `handler` gets each turn of the wheel over `widget` or over a child that
// leaves it unused: the angle turned in eighths of a degree (120 is one notch
// of most mice; x horizontal, y vertical, positive away from the user) and the
// modifier keys held, and where the pointer is on the screen. The turn goes
// no further.
using WheelHandler =
    std::function<void(QPoint angle, Qt::KeyboardModifiers modifiers, QPoint pointer)>;
void on_wheel(QWidget* widget, WheelHandler handler);
