// SPDX-License-Identifier: MIT
#include "measure/modes.h"

#include "form/measure_room.h"
#include "measure/chain.h"
#include "measure/pointer_input.h"
#include "widgets/line_object.h"
#include "widgets/picture_box.h"

namespace {
void restart_as(const MeasureRoom& room, MeasuringMode mode) {
    if (lines_hidden(room)) return;
    switch (mode) {
    case MeasuringMode::single:
        clear_segments(room);
        reset_single_line(room);
        break;
    case MeasuringMode::chain:
        hide_markers(room);
        clear_segments(room);
        reset_multi_line(room);
        break;
    case MeasuringMode::free_hand:
        break;
    }
}
} // namespace

void Option_tracer_Click(const MeasureRoom& room, MeasuringMode mode) {
    // While "hide lines" is ticked the choice waits: unticking it resets the
    // machine for whichever option is selected by then.
    restart_as(room, mode);
}

void hide_markers(const MeasureRoom& room) {
    for (LineObject* line : {room.L_x0, room.L_x1, room.L_y0, room.L_y1, room.L_d})
        line->hide();
}

void reset_single_line(const MeasureRoom& room) {
    hide_markers(room);
    room.m_state = MeasuringState::no_start;
}

namespace {
// Every measuring press spans the lines again, mostly to the span they have:
// a line left untouched is not repainted across the whole picture area.
void span_across(LineObject* line, float w) {
    if (line->X1() != 0 || line->X2() != w) line->set_points(0, line->Y1(), w, line->Y2());
}
void span_down(LineObject* line, float h) {
    if (line->Y1() != 0 || line->Y2() != h) line->set_points(line->X1(), 0, line->X2(), h);
}
} // namespace

void span_guide_lines(const MeasureRoom& room) {
    const auto w = static_cast<float>(room.P_in->width());
    const auto h = static_cast<float>(room.P_in->height());
    span_across(room.L_trace_x, w);
    span_down(room.L_trace_y, h);
    // Hidden guides keep their old span; the press that shows them spans them.
    if (!room.L_x0->visible()) return;
    span_across(room.L_x0, w);
    span_across(room.L_x1, w);
    span_down(room.L_y0, h);
    span_down(room.L_y1, h);
}

void restart_measuring(const MeasureRoom& room) {
    restart_as(room, measuring_mode(room));
}
