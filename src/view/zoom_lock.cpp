// SPDX-License-Identifier: MIT
#include "view/zoom_lock.h"

#include "form/F_main.h"

bool refuse_locked_zoom(F_main& f) {
    if (value(f.Check_zlock) != 1) return false;
    f.report(QStringLiteral("Zoom lock is on: untick \"zoom lock\" to zoom."));
    return true;
}
