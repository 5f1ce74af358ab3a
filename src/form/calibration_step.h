// SPDX-License-Identifier: MIT
#pragma once
// The step of the calibration cycle. It lives in the caption of Command_set,
// the button the user reads it from; these are the only places that read or
// write that caption.

#include <QString>

class F_main;
struct ScaleRoom;

enum class CalibrationStep {
    idle,         // "set kelvo": no calibration under way
    point_start,  // "point start": a press places the first end of Line_scale
    point_end,    // "point end": moves drag the second end, a press fixes it
    set_scale_as, // "set scale as...": the length is typed, the button applies it
};

// The caption Command_set shows for `step`.
QString calibration_caption(CalibrationStep step);
// The step Command_set's caption shows; idle for any other caption.
CalibrationStep calibration_step(const F_main& f);
CalibrationStep calibration_step(const ScaleRoom& room);
void set_calibration_step(const ScaleRoom& room, CalibrationStep step);
// True while a press on the picture places an end of Line_scale.
bool calibration_awaits_point(const ScaleRoom& room);
