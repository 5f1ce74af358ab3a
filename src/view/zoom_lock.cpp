// SPDX-License-Identifier: MIT
#include "view/zoom_lock.h"

#include "form/check_value.h"
#include "form/view_room.h"
#include "widgets/click_label.h"

#include <QCheckBox>
#include <QLabel>

QString zoom_lock_refusal(const ViewRoom& room) {
    if (value(room.Check_zlock) != 1) return QString();
    return QStringLiteral("Zoom lock is on: untick \"zoom lock\" to zoom.");
}

void Check_zlock_Click(const ViewRoom& room) {
    // Said either way, so "Zoom lock is on" never outlives the lock.
    if (value(room.Check_zlock) == 1)
        room.report(
            QStringLiteral("Zoom lock is on: the zoom stays at %1.").arg(room.L_zval->text()),
            ReportOutcome::done);
    else
        room.report(
            QStringLiteral("Zoom lock is off: the zoom buttons, keys and wheel zoom again."),
            ReportOutcome::done);
}
