// SPDX-License-Identifier: MIT
#pragma once
// Calibration: a reference line of known length sets unit_per_px.

#include <QString>

class F_main;
struct ViewMapping;

void Command_set_Click(F_main& f);
void Text_scale_KeyPress(F_main& f, int& key_ascii);
void apply_scale(F_main& f);
// Leaves the cycle at "set kelvo" with Line_scale hidden; unless "hide lines"
// is ticked, measuring starts afresh for the mode and the cross-hair shows again.
void leave_calibration(F_main& f);

// A zoom step from `was` to `now` during a calibration keeps Line_scale on the
// picture pixels it marks.
void keep_calibration_line(F_main& f, const ViewMapping& was, const ViewMapping& now);
// Leaves a calibration under way without changing the scale, as
// leave_calibration does. False when none was under way.
bool end_calibration(F_main& f);

// A scale as the status bar shows it: the shortest text that reads back as
// it, "0.05", "1806.2518", "100000000", "1e-30".
QString scale_number(float value);

// Units per picture pixel for a reference line `line_px` shown pixels long at
// `zoom` percent that stands for `typed_length` units; not yet checked for use.
double calibrated_scale(double typed_length, float line_px, double zoom);
