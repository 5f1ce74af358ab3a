// SPDX-License-Identifier: MIT
#include "view/zoom_lock.h"

#include "form/F_main.h"

#include <QCheckBox>
#include <QLabel>

QString zoom_lock_refusal(const F_main& f) {
    if (value(f.Check_zlock) != 1) return QString();
    return QStringLiteral("Zoom lock is on: untick \"zoom lock\" to zoom.");
}

void Check_zlock_Click(F_main& f) {
    // Said either way, so "Zoom lock is on" never outlives the lock.
    if (value(f.Check_zlock) == 1)
        f.report(QStringLiteral("Zoom lock is on: the zoom stays at %1.").arg(f.L_zval->text()),
                 F_main::Outcome::done);
    else
        f.report(QStringLiteral("Zoom lock is off: the zoom buttons, keys and wheel zoom again."),
                 F_main::Outcome::done);
}
