// SPDX-License-Identifier: MIT
#pragma once
// The measuring modes and the overlay resets.

#include "form/measuring_mode.h"

class F_main;

// Selection of the option of `mode`.
void Option_tracer_Click(F_main& f, MeasuringMode mode);

void hide_markers(F_main& f);      // hides L_x0, L_x1, L_y0, L_y1, L_d
void reset_single_line(F_main& f); // the same, then m_state = 0
// Clears the measurement and starts the mode's own afresh ("free hand" keeps
// its state). Nothing while "hide lines" is ticked: measuring is off and
// untouched then.
void restart_measuring(F_main& f);
// Stretches the cross-hair, and the four guide lines while shown, across P_in.
void span_guide_lines(F_main& f);
