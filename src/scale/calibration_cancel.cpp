// SPDX-License-Identifier: MIT
#include "scale/calibration_cancel.h"

#include "form/F_main.h"
#include "form/calibration_step.h"
#include "form/scale_room.h"
#include "scale/calibration.h"

bool cancel_calibration(F_main& f) {
    // Measuring starts afresh as after a completed calibration.
    return calibration_awaits_point(f.scale_room()) && end_calibration(f);
}
