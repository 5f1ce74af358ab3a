// SPDX-License-Identifier: MIT
#include "app/cancel_current.h"

#include "form/F_main.h"
#include "measure/line_cancel.h"
#include "scale/calibration_cancel.h"

void cancel_current(F_main& f) {
    // A calibration comes first: while it waits, presses place its points,
    // not a measurement's.
    if (cancel_calibration(f)) {
        f.report(QStringLiteral("Calibration cancelled; the scale is unchanged."));
    } else if (cancel_line(f)) {
        f.report(QStringLiteral("Line cancelled."));
    }
}
