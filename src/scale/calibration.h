// SPDX-License-Identifier: MIT
#pragma once
// Calibration: a reference line of known length sets unit_per_px.

#include "form/reporter.h"

#include <QString>

struct ScaleRoom;
struct ViewMapping;

void Command_set_Click(const ScaleRoom& room);
void Text_scale_KeyPress(const ScaleRoom& room, int& key_ascii);
// Takes the typed length over the reference line as the new scale (or says
// why not) and leaves the cycle; what became of the scale, for the handler.
StatusMessage apply_scale(const ScaleRoom& room);
// Leaves the cycle at "set kelvo" with Line_scale hidden; unless "hide lines"
// is ticked, measuring starts afresh for the mode and the cross-hair shows again.
void leave_calibration(const ScaleRoom& room);

// A zoom step from `was` to `now` during a calibration keeps Line_scale on the
// picture pixels it marks.
void keep_calibration_line(const ScaleRoom& room, const ViewMapping& was, const ViewMapping& now);
// Leaves a calibration under way without changing the scale, as
// leave_calibration does. False when none was under way.
bool end_calibration(const ScaleRoom& room);

// A scale as the status bar shows it: the shortest text that reads back as
// it, "0.05", "1806.2518", "100000000", "1e-30".
QString scale_number(float value);

// Units per picture pixel for a reference line `line_px` shown pixels long at
// `zoom` percent that stands for `typed_length` units; not yet checked for use.
double calibrated_scale(double typed_length, float line_px, double zoom);
