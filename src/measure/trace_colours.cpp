// SPDX-License-Identifier: MIT
#include "measure/trace_colours.h"

#include "form/measure_room.h"
#include "widgets/line_object.h"

// The cross-hair's colour tells where a measurement stands: grey while
// measuring, red once it ended, green once its row is in the spreadsheet.
namespace {
// Most presses re-apply the colour the cross-hair already has; leaving it
// untouched then spares repainting both hairs across the whole picture area.
void set_colour(LineObject* hair, Colour c) {
    if (hair->colour() != c) hair->set_colour(c);
}
void set_trace(const MeasureRoom& room, Colour across, Colour down) {
    set_colour(room.L_trace_x, across);
    set_colour(room.L_trace_y, down);
}
} // namespace

void set_trace_grey(const MeasureRoom& room) {
    set_trace(room, rgb_colour(119, 119, 119), rgb_colour(153, 153, 153));
}
void set_trace_red(const MeasureRoom& room) {
    set_trace(room, rgb_colour(255, 17, 17), rgb_colour(238, 34, 34));
}
void set_trace_green(const MeasureRoom& room) {
    set_trace(room, rgb_colour(17, 255, 17), rgb_colour(34, 238, 34));
}
