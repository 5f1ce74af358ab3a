// SPDX-License-Identifier: MIT
#include "view/zoom.h"

#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/numbers.h"
#include "form/scale_room.h"
#include "form/view_mapping.h"
#include "measure/modes.h"
#include "scale/calibration.h"
#include "scale/scale_bar.h"
#include "view/scrolling.h"
#include "view/show_picture.h"

#include <QCheckBox>

namespace {

// What follows every zoom step that showed the picture anew, from `was`.
void after_zoom_step(F_main& f, const ViewMapping& was) {
    keep_calibration_line(f.scale_room(), was, view_mapping(f));
    restart_measuring(f.measure_room());
    update_scroll_bars(f);
    draw_scale_bar(f.scale_room());
}

// One step of "in" (+10) or "out" (-10).
void step_zoom(F_main& f, int points) {
    if (!zoom_buttons_act(f)) return;
    const int z = round_to_int(view_mapping(f).percent);
    const int next = stepped_zoom(z, points);
    if (next == z) return;
    if (const QString why = show_zoom(f, next); !why.isEmpty()) f.report(why);
}

} // namespace

bool zoom_buttons_act(const F_main& f) {
    return value(f.Check_zlock) != 1 && !f.pic_path.isEmpty();
}

int stepped_zoom(int z, int points) {
    if (points > 0 ? z > 500 : z < 15) return z;
    return z + points;
}

// The caption is written before the picture is rendered, as render_at_zoom
// reads it there; a file that can no longer be read puts the previous caption
// back, so a failed step changes nothing at all.
QString show_zoom(F_main& f, int percent) {
    const ViewMapping before = view_mapping(f);
    set_view_zoom(f, percent);
    if (QString why = render_at_zoom(f); !why.isEmpty()) {
        set_view_zoom(f, round_to_int(before.percent));
        return why;
    }
    after_zoom_step(f, before);
    return QString();
}

QString render_at_zoom(F_main& f) {
    return show_picture_at(f, view_mapping(f).percent);
}

void L_in_Click(F_main& f) {
    step_zoom(f, +10);
}

void L_out_Click(F_main& f) {
    step_zoom(f, -10);
}

// Runs in full at 100% too: it shows the picture anew (read again from its
// file when that changed) and clears the measurement.
void L_even_Click(F_main& f) {
    if (!zoom_buttons_act(f)) return;
    if (const QString why = show_picture_at(f, 100.0); !why.isEmpty()) {
        f.report(why);
        return;
    }
    const ViewMapping was = view_mapping(f);
    set_view_zoom(f, 100);
    after_zoom_step(f, was);
}
