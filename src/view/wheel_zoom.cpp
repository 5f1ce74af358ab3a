// SPDX-License-Identifier: MIT
#include "view/wheel_zoom.h"

#include "form/numbers.h"
#include "view/zoom.h"
#include "view/zoom_anchor.h"
#include "view/zoom_lock.h"
#include "widgets/picture_box.h"
#include "widgets/scroll_bar.h"

#include <QScrollBar>

WheelZoom::WheelZoom(const ViewRoom& room) : QObject(room.window), room_(room) {
    timer_.setSingleShot(true);
    timer_.setInterval(settle_ms);
    connect(&timer_, &QTimer::timeout, this, [this] { show_burst(); });
}

void WheelZoom::notch(int points, QPointF pointer) {
    pointer_ = pointer;
    if (const QString locked = zoom_lock_refusal(room_); !locked.isEmpty()) {
        room_.report(locked);
        return;
    }
    if (!zoom_buttons_act(room_)) return;
    const int from = pending() ? target_ : round_to_int(room_.zoom.percent);
    const int to = stepped_zoom(from, points);
    if (to == from) return; // at the end of the range this notch does nothing
    target_ = to;
    // A notch that acted shows the picture anew even when the burst comes
    // back to the zoom it started from, as the steps one by one would have.
    timer_.start();
}

void WheelZoom::show_burst() {
    if (!zoom_buttons_act(room_)) return; // the zoom was locked meanwhile
    // Where the picture area was: its offset is the scroll value of an
    // enabled bar and 0 otherwise.
    const QPoint was = -room_.P_in->pos();
    const QSize old_size = room_.P_in->size();
    if (const QString why = show_zoom(room_, target_); !why.isEmpty()) {
        room_.report(why);
        return;
    }
    const QSize new_size = room_.P_in->size();
    // The Change handlers move the picture area and redraw the scale bar.
    if (scroll_bar_enabled(room_.HS_main))
        room_.HS_main->setValue(anchored_scroll_value(pointer_.x(), was.x(), old_size.width(),
                                                      new_size.width(), room_.HS_main->maximum()));
    if (scroll_bar_enabled(room_.VS_main))
        room_.VS_main->setValue(anchored_scroll_value(pointer_.y(), was.y(), old_size.height(),
                                                      new_size.height(), room_.VS_main->maximum()));
}
