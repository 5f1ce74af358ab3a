// SPDX-License-Identifier: MIT
#include "app/logout.h"

#include "form/F_main.h"
#include "form/output_room.h"
#include "output/spreadsheet_export.h"
#include "platform/quit_signals.h"

#include <QApplication>
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

void close_on_logout(F_main& f) {
    if (!on_quit_signals(&f, [&f](int signal) { close_on_signal(f, signal); }))
        f.report(QStringLiteral("The program cannot catch the signals that end it: rows not "
                                "saved yet are lost if it is ended that way"));
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &f, [&f](QSessionManager&) {
        if (const QString why = save_workbook_before_logout(f.output_room()); !why.isEmpty())
            f.report(why);
    });
}
