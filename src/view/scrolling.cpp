// SPDX-License-Identifier: MIT
#include "view/scrolling.h"

#include "form/F_main.h"
#include "form/scale_room.h"
#include "scale/scale_bar.h"
#include "view/scroll_fit.h"
#include "widgets/scroll_bar.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace {

void place_left(F_main& f, int left) {
    f.P_in->move(left, f.P_in->y());
}
void place_top(F_main& f, int top) {
    f.P_in->move(f.P_in->x(), top);
}

struct Position {
    int value;
    int maximum;
};

Position remember(const QScrollBar* bar) {
    if (scroll_bar_enabled(bar)) return {bar->value(), bar->maximum()};
    return {0, 1};
}

void fit_bar(F_main& f, QScrollBar* bar, int shown, int viewport, Position was,
             void (*place)(F_main&, int), void (*change)(F_main&)) {
    const ScrollFit fit = fit_scroll_bar(shown, viewport, was.value, was.maximum);
    if (!fit.enabled) {
        bar->setEnabled(false);
        {
            // Nothing to scroll: no thumb. A disabled bar's range is never
            // remembered, so this loses nothing.
            const QSignalBlocker quiet(bar);
            bar->setRange(0, 0);
        }
        place(f, 0);
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
        change(f);
    else
        place(f, -fit.value); // where it already is, unless the bar was disabled
}

} // namespace

void update_scroll_bars(F_main& f) {
    const Position h = remember(f.HS_main);
    const Position v = remember(f.VS_main);
    fit_bar(f, f.HS_main, f.P_in->width(), f.P_out->width(), h, place_left, HS_main_Change);
    fit_bar(f, f.VS_main, f.P_in->height(), f.P_out->height(), v, place_top, VS_main_Change);
}

void HS_main_Change(F_main& f) {
    place_left(f, -f.HS_main->value());
    draw_scale_bar(f.scale_room());
}

void VS_main_Change(F_main& f) {
    place_top(f, -f.VS_main->value());
    draw_scale_bar(f.scale_room());
}

// With tracking on, as the bars are wired, the value follows the thumb and
// the Change handler runs for this very step right after; only a bar without
// tracking needs the picture moved from the thumb's position here.
void HS_main_Scroll(F_main& f) {
    if (f.HS_main->hasTracking()) return;
    place_left(f, -f.HS_main->sliderPosition());
    draw_scale_bar(f.scale_room());
}

void VS_main_Scroll(F_main& f) {
    if (f.VS_main->hasTracking()) return;
    place_top(f, -f.VS_main->sliderPosition());
    draw_scale_bar(f.scale_room());
}
