// SPDX-License-Identifier: MIT
#include "app/cancel_current.h"

#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/scale_room.h"
#include "measure/line_cancel.h"
#include "scale/calibration_cancel.h"

void cancel_current(F_main& f) {
    // A calibration comes first: while it waits, presses place its points,
    // not a measurement's.
    if (cancel_calibration(f.scale_room())) {
        f.report(QStringLiteral("Calibration cancelled; the scale is unchanged."));
    } else if (cancel_line(f.measure_room())) {
        f.report(QStringLiteral("Line cancelled."));
    }
}
