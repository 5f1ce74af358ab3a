#include "scale/calibration_cancel.h"

#include "scale/calibration.h"
#include "scale/calibration_step.h"

bool cancel_calibration(F_main& f) {
    if (!calibration_awaits_point(f)) return false;
    // Measuring starts afresh as after a completed calibration.
    leave_calibration(f);
    return true;
}
