#pragma once
// The measuring modes, the overlay resets, the cross-hair colours and the
// result panel's red marks.

#include "form/measuring_mode.h"

class F_main;
class ClickLabel;

// Selection of the option of `mode`.
void Option_tracer_Click(F_main& f, MeasuringMode mode);

void hide_markers(F_main& f);      // hides L_x0, L_x1, L_y0, L_y1, L_d
void reset_single_line(F_main& f); // the same, then m_state = 0
// Clears the measurement and starts the mode's own afresh ("free hand" keeps
// its state). Nothing while "hide lines" is ticked: measuring is off and
// untouched then.
void restart_measuring(F_main& f);
void set_trace_grey(F_main& f);  // measuring
void set_trace_red(F_main& f);   // a measurement ended
void set_trace_green(F_main& f); // its row was written
// Stretches the cross-hair, and the four guide lines while shown, across P_in.
void span_guide_lines(F_main& f);

// Writes X, Y and D into Lb_x, Lb_y, Lb_d as "#.00". X and Y are single
// precision, D double, as the handlers compute them.
void show_results(F_main& f, float x, float y, double d);
// Rewrites Lb_x, Lb_y, Lb_d for a new scale: each caption's number times
// new_scale / old_scale, formatted "#.00".
void convert_results(F_main& f, float old_scale, float new_scale);

// Click on a result's value or caption label: toggles the red mark, which the
// value label holds and the caption label follows.
void toggle_result_mark(ClickLabel* value_label, ClickLabel* caption_label);
