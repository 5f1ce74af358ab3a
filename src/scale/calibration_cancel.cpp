// SPDX-License-Identifier: MIT
#include "scale/calibration_cancel.h"

#include "form/calibration_step.h"
#include "form/scale_room.h"
#include "scale/calibration.h"

bool cancel_calibration(const ScaleRoom& room) {
    // Measuring starts afresh as after a completed calibration.
    return calibration_awaits_point(room) && end_calibration(room);
}
