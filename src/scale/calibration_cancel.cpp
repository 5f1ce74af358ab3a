#include "scale/calibration_cancel.h"

#include "form/calibration_step.h"
#include "scale/calibration.h"

bool cancel_calibration(F_main& f) {
    if (!calibration_awaits_point(f)) return false;
    // Measuring starts afresh as after a completed calibration.
    leave_calibration(f);
    return true;
}
