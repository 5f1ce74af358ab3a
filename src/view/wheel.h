// SPDX-License-Identifier: MIT
#pragma once
// The mouse wheel over the picture: it scrolls through the scroll bars, so the
// same Change handlers move the picture; with Ctrl it zooms as "in" and "out".

#include <QPoint>
#include <QtCore/qnamespace.h>

struct ViewRoom;
class WheelZoom;

// What is left over of the wheel's turns between events: smooth wheels and
// touchpads send a notch in several small parts.
struct WheelRest {
    WheelZoom* zoom = nullptr; // shows a burst of Ctrl+wheel notches at once
    int zoom_angle = 0;
    double scroll_x = 0;
    double scroll_y = 0;
};

// One notch (120) scrolls a tenth of the viewport; with Shift the vertical
// wheel scrolls sideways. With Ctrl every notch away from the user is a step
// "in", towards the user one "out", under the buttons' rules, around the
// picture point under `pointer` (screen coordinates).
// How far one notch scrolls along a viewport `viewport` pixels long: a
// tenth of it, at least a pixel.
int notch_scroll(int viewport);

void P_out_Wheel(const ViewRoom& room, WheelRest& rest, QPoint angle,
                 Qt::KeyboardModifiers modifiers, QPoint pointer);
