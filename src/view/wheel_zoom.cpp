// SPDX-License-Identifier: MIT
#include "view/wheel_zoom.h"

#include "form/F_main.h"
#include "form/numbers.h"
#include "form/view_mapping.h"
#include "view/zoom.h"
#include "view/zoom_anchor.h"
#include "view/zoom_lock.h"
#include "widgets/scroll_bar.h"

#include <QScrollBar>

WheelZoom::WheelZoom(F_main& f) : QObject(&f), f_(f) {
    timer_.setSingleShot(true);
    timer_.setInterval(settle_ms);
    connect(&timer_, &QTimer::timeout, this, [this] { show_burst(); });
}

void WheelZoom::notch(int points, QPointF pointer) {
    pointer_ = pointer;
    if (const QString locked = zoom_lock_refusal(f_); !locked.isEmpty()) {
        f_.report(locked);
        return;
    }
    if (!zoom_buttons_act(f_)) return;
    const int from = pending() ? target_ : round_to_int(view_mapping(f_).percent);
    const int to = stepped_zoom(from, points);
    if (to == from) return; // at the end of the range this notch does nothing
    target_ = to;
    // A notch that acted shows the picture anew even when the burst comes
    // back to the zoom it started from, as the steps one by one would have.
    timer_.start();
}

void WheelZoom::show_burst() {
    if (!zoom_buttons_act(f_)) return; // the zoom was locked meanwhile
    // Where the picture area was: its offset is the scroll value of an
    // enabled bar and 0 otherwise.
    const QPoint was = -f_.P_in->pos();
    const QSize old_size = f_.P_in->size();
    if (const QString why = show_zoom(f_, target_); !why.isEmpty()) {
        f_.report(why);
        return;
    }
    const QSize new_size = f_.P_in->size();
    // The Change handlers move the picture area and redraw the scale bar.
    if (scroll_bar_enabled(f_.HS_main))
        f_.HS_main->setValue(anchored_scroll_value(pointer_.x(), was.x(), old_size.width(),
                                                   new_size.width(), f_.HS_main->maximum()));
    if (scroll_bar_enabled(f_.VS_main))
        f_.VS_main->setValue(anchored_scroll_value(pointer_.y(), was.y(), old_size.height(),
                                                   new_size.height(), f_.VS_main->maximum()));
}
