// SPDX-License-Identifier: MIT
#include "app/unload.h"

#include "app/tutorial.h"
#include "form/F_main.h"
#include "form/output_room.h"
#include "output/spreadsheet_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

// Older versions closed a workbook onto an existing file through this copy
// in the program's folder; one may be left from a run that was cut short.
void delete_old_temporary_workbook(F_main& f) {
    QFile old(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvo2_tmp.xls"));
    if (old.exists() && !old.remove())
        f.report(QStringLiteral("Could not delete %1: %2")
                     .arg(QDir::toNativeSeparators(old.fileName()), old.errorString()));
}

} // namespace

void F_main_Unload(F_main& f, int& cancel) {
    const WorkbookClosing closing = close_workbook_on_unload(f.output_room());
    if (!closing.message.isEmpty()) f.report(closing.message);
    if (!closing.closes) {
        cancel = 1;
        return;
    }
    delete_old_temporary_workbook(f);
    if (f.F_tut_Vw == 1 && f.tutorial) f.tutorial->close();
}
