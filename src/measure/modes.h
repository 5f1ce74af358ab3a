// SPDX-License-Identifier: MIT
#pragma once
// The measuring modes and the overlay resets.

#include "form/measuring_mode.h"

struct MeasureRoom;

// Selection of the option of `mode`.
void Option_tracer_Click(const MeasureRoom& room, MeasuringMode mode);

void hide_markers(const MeasureRoom& room);      // hides L_x0, L_x1, L_y0, L_y1, L_d
void reset_single_line(const MeasureRoom& room); // the same, then m_state = 0
// Clears the measurement and starts the mode's own afresh ("free hand" keeps
// its state). Nothing while "hide lines" is ticked: measuring is off and
// untouched then.
void restart_measuring(const MeasureRoom& room);
// Stretches the cross-hair, and the four guide lines while shown, across P_in.
void span_guide_lines(const MeasureRoom& room);
