// SPDX-License-Identifier: MIT
#include "view/zoom.h"

#include "form/check_value.h"
#include "form/measuring_door.h"
#include "form/numbers.h"
#include "form/scale_door.h"
#include "form/view_room.h"
#include "view/scrolling.h"
#include "view/show_picture.h"
#include "widgets/click_label.h"

#include <QCheckBox>

namespace {

// What follows every zoom step that showed the picture anew, from `was`.
void after_zoom_step(const ViewRoom& room, const ViewMapping& was) {
    room.scale.keep_calibration_line(was, room.zoom);
    room.measuring.restart_measuring();
    update_scroll_bars(room);
    room.scale.draw_scale_bar();
}

// One step of "in" (+10) or "out" (-10).
void step_zoom(const ViewRoom& room, int points) {
    if (!zoom_buttons_act(room)) return;
    const int z = round_to_int(room.zoom.percent);
    const int next = stepped_zoom(z, points);
    if (next == z) return;
    if (const QString why = show_zoom(room, next); !why.isEmpty()) room.report(why);
}

} // namespace

bool zoom_buttons_act(const ViewRoom& room) {
    return value(room.Check_zlock) != 1 && !room.pic_path.isEmpty();
}

int stepped_zoom(int z, int points) {
    if (points > 0 ? z > 500 : z < 15) return z;
    return z + points;
}

// The caption is written before the picture is rendered, as render_at_zoom
// reads it there; a file that can no longer be read puts the previous caption
// back, so a failed step changes nothing at all.
QString show_zoom(const ViewRoom& room, int percent) {
    const ViewMapping before = room.zoom;
    set_view_zoom(room.zoom, room.L_zval, percent);
    if (QString why = render_at_zoom(room); !why.isEmpty()) {
        set_view_zoom(room.zoom, room.L_zval, round_to_int(before.percent));
        return why;
    }
    after_zoom_step(room, before);
    return QString();
}

QString render_at_zoom(const ViewRoom& room) {
    return show_picture_at(room, room.zoom.percent);
}

void L_in_Click(const ViewRoom& room) {
    step_zoom(room, +10);
}

void L_out_Click(const ViewRoom& room) {
    step_zoom(room, -10);
}

// Runs in full at 100% too: it shows the picture anew (read again from its
// file when that changed) and clears the measurement.
void L_even_Click(const ViewRoom& room) {
    if (!zoom_buttons_act(room)) return;
    if (const QString why = show_picture_at(room, 100.0); !why.isEmpty()) {
        room.report(why);
        return;
    }
    const ViewMapping was = room.zoom;
    set_view_zoom(room.zoom, room.L_zval, 100);
    after_zoom_step(room, was);
}
