// SPDX-License-Identifier: MIT
#include "app/logout.h"

#include "form/F_main.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_recovery.h"
#include "platform/quit_signals.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>
#include <QWidget>

namespace {

void close_on_signal(F_main& f, int signal) {
    f.report(QStringLiteral("Closing: the program was asked to end (signal %1)").arg(signal),
             F_main::Outcome::done);
    // A file dialog open now answers "Cancel", so the action that opened it
    // ends before the window closes.
    for (int n = 0; n < 8 && QApplication::activeModalWidget(); ++n)
        QApplication::activeModalWidget()->close();
    f.close();
}

} // namespace

void save_before_logout(F_main& f) {
    if (f.xl_pending.empty()) return;
    const QString why = save_open_workbook(f).error;
    if (why.isEmpty()) return;
    const RecoveryWorkbook kept = save_recovery_workbook(f);
    if (kept.path.isEmpty())
        f.report(QStringLiteral("Logging out, and the workbook's rows could not be "
                                "saved: %1; nor as a recovery workbook: %2")
                     .arg(why, kept.error));
    else
        f.report(QStringLiteral("Logging out: the workbook's rows were saved in %1 "
                                "(%2)")
                     .arg(QDir::toNativeSeparators(kept.path), why));
}

void close_on_logout(F_main& f) {
    if (!on_quit_signals(&f, [&f](int signal) { close_on_signal(f, signal); }))
        f.report(QStringLiteral("The program cannot catch the signals that end it: rows not "
                                "saved yet are lost if it is ended that way"));
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &f,
                     [&f](QSessionManager&) { save_before_logout(f); });
}
