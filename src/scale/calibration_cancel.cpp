// SPDX-License-Identifier: MIT
#include "scale/calibration_cancel.h"

#include "form/calibration_step.h"
#include "scale/calibration.h"

bool cancel_calibration(F_main& f) {
    // Measuring starts afresh as after a completed calibration.
    return calibration_awaits_point(f) && end_calibration(f);
}
