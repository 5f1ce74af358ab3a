// SPDX-License-Identifier: MIT
#include "view/wheel.h"
#include "widgets/scroll_bar.h"

#include "form/view_room.h"
#include "view/wheel_zoom.h"
#include "widgets/picture_box.h"

#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

constexpr int notch = 120;

void zoom_by_wheel(const ViewRoom& room, WheelZoom& zoom, int& rest, int angle, QPoint pointer) {
    if ((rest > 0 && angle < 0) || (rest < 0 && angle > 0)) rest = 0; // turned back
    rest += angle;
    const QPointF at = room.P_out->mapFromGlobal(QPointF(pointer));
    for (; rest >= notch; rest -= notch)
        zoom.notch(+10, at);
    for (; rest <= -notch; rest += notch)
        zoom.notch(-10, at);
}

// Moves the bar's value; the bar's Change handler moves the picture.
void scroll_by_wheel(QScrollBar* bar, int viewport, double& rest, int angle) {
    if (angle == 0) return;
    if (!scroll_bar_enabled(bar)) {
        rest = 0;
        return;
    }
    const double per_notch = notch_scroll(viewport);
    const double exact = rest - angle * per_notch / notch; // away from the user goes up (left)
    const double whole = std::trunc(exact);
    rest = exact - whole;
    const int target = static_cast<int>(
        std::clamp(bar->value() + whole, double(bar->minimum()), double(bar->maximum())));
    if (target == bar->minimum() || target == bar->maximum()) rest = 0;
    bar->setValue(target);
}

} // namespace

int notch_scroll(int viewport) {
    return std::max(1, viewport / 10);
}

void P_out_Wheel(const ViewRoom& room, WheelRest& rest, QPoint angle,
                 Qt::KeyboardModifiers modifiers, QPoint pointer) {
    if (modifiers & Qt::ControlModifier) {
        zoom_by_wheel(room, *rest.zoom, rest.zoom_angle, angle.y() != 0 ? angle.y() : angle.x(),
                      pointer);
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        // Some platforms hand Shift+wheel over as a sideways turn already.
        scroll_by_wheel(room.HS_main, room.P_out->width(), rest.scroll_x,
                        angle.y() != 0 ? angle.y() : angle.x());
        return;
    }
    scroll_by_wheel(room.VS_main, room.P_out->height(), rest.scroll_y, angle.y());
    scroll_by_wheel(room.HS_main, room.P_out->width(), rest.scroll_x, angle.x());
}
