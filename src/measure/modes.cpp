// SPDX-License-Identifier: MIT
#include "measure/modes.h"

#include "form/F_main.h"
#include "measure/chain.h"
#include "measure/pointer_input.h"

namespace {
void restart_as(F_main& f, MeasuringMode mode) {
    if (lines_hidden(f)) return;
    switch (mode) {
    case MeasuringMode::single:
        clear_segments(f);
        reset_single_line(f);
        break;
    case MeasuringMode::chain:
        hide_markers(f);
        clear_segments(f);
        reset_multi_line(f);
        break;
    case MeasuringMode::free_hand:
        break;
    }
}
} // namespace

void Option_tracer_Click(F_main& f, MeasuringMode mode) {
    // While "hide lines" is ticked the choice waits: unticking it resets the
    // machine for whichever option is selected by then.
    restart_as(f, mode);
}

void hide_markers(F_main& f) {
    for (LineObject* line : {f.L_x0, f.L_x1, f.L_y0, f.L_y1, f.L_d})
        line->hide();
}

void reset_single_line(F_main& f) {
    hide_markers(f);
    f.m_state = MeasuringState::no_start;
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

void span_guide_lines(F_main& f) {
    const auto w = static_cast<float>(f.P_in->width());
    const auto h = static_cast<float>(f.P_in->height());
    span_across(f.L_trace_x, w);
    span_down(f.L_trace_y, h);
    // Hidden guides keep their old span; the press that shows them spans them.
    if (!f.L_x0->visible()) return;
    span_across(f.L_x0, w);
    span_across(f.L_x1, w);
    span_down(f.L_y0, h);
    span_down(f.L_y1, h);
}

void restart_measuring(F_main& f) {
    restart_as(f, measuring_mode(f));
}
