// SPDX-License-Identifier: MIT
#include "view/scrolling.h"

#include "form/scale_door.h"
#include "form/view_room.h"
#include "view/scroll_fit.h"
#include "widgets/picture_box.h"
#include "widgets/scroll_bar.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace {

void place_left(const ViewRoom& room, int left) {
    room.P_in->move(left, room.P_in->y());
}
void place_top(const ViewRoom& room, int top) {
    room.P_in->move(room.P_in->x(), top);
}

struct Position {
    int value;
    int maximum;
};

Position remember(const QScrollBar* bar) {
    if (scroll_bar_enabled(bar)) return {bar->value(), bar->maximum()};
    return {0, 1};
}

void fit_bar(const ViewRoom& room, QScrollBar* bar, int shown, int viewport, Position was,
             void (*place)(const ViewRoom&, int), void (*change)(const ViewRoom&)) {
    const ScrollFit fit = fit_scroll_bar(shown, viewport, was.value, was.maximum);
    if (!fit.enabled) {
        bar->setEnabled(false);
        {
            // Nothing to scroll: no thumb. A disabled bar's range is never
            // remembered, so this loses nothing.
            const QSignalBlocker quiet(bar);
            bar->setRange(0, 0);
        }
        place(room, 0);
        return;
    }
    bar->setEnabled(true);
    const int before = bar->value();
    {
        // Range and value are set together, so the Change handler runs once,
        // for the final value, and only when it differs.
        const QSignalBlocker quiet(bar);
        bar->setRange(0, fit.maximum);
        bar->setSingleStep(fit.arrow_step);
        bar->setPageStep(fit.page_step);
        bar->setValue(fit.value);
    }
    if (bar->value() != before)
        change(room);
    else
        place(room, -fit.value); // where it already is, unless the bar was disabled
}

} // namespace

void update_scroll_bars(const ViewRoom& room) {
    const Position h = remember(room.HS_main);
    const Position v = remember(room.VS_main);
    fit_bar(room, room.HS_main, room.P_in->width(), room.P_out->width(), h, place_left,
            HS_main_Change);
    fit_bar(room, room.VS_main, room.P_in->height(), room.P_out->height(), v, place_top,
            VS_main_Change);
}

void HS_main_Change(const ViewRoom& room) {
    place_left(room, -room.HS_main->value());
    room.scale.draw_scale_bar();
}

void VS_main_Change(const ViewRoom& room) {
    place_top(room, -room.VS_main->value());
    room.scale.draw_scale_bar();
}

// With tracking on, as the bars are wired, the value follows the thumb and
// the Change handler runs for this very step right after; only a bar without
// tracking needs the picture moved from the thumb's position here.
void HS_main_Scroll(const ViewRoom& room) {
    if (room.HS_main->hasTracking()) return;
    place_left(room, -room.HS_main->sliderPosition());
    room.scale.draw_scale_bar();
}

void VS_main_Scroll(const ViewRoom& room) {
    if (room.VS_main->hasTracking()) return;
    place_top(room, -room.VS_main->sliderPosition());
    room.scale.draw_scale_bar();
}
