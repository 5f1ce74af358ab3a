#include "app/unload.h"

#include "app/tutorial.h"
#include "form/F_main.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_recovery.h"

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

// The workbook's own file could not take its rows: they go to a recovery
// workbook. Returns false when that failed too and the window should stay.
bool rescue_rows(F_main& f, const QString& why) {
    QString lost;
    const QString kept = save_recovery_workbook(f, &lost);
    if (!kept.isEmpty()) {
        // Reported as a failure, so the log (standard error) names the file
        // even though the window is going.
        f.report(QStringLiteral("The workbook was not saved on closing (%1); its rows were "
                                "saved in %2")
                     .arg(why, QDir::toNativeSeparators(kept)));
        return true;
    }
    if (!f.close_refused) {
        f.close_refused = true;
        f.report(QStringLiteral("The window stays open: the workbook's rows could not be saved "
                                "(%1), nor as a recovery workbook (%2). Close again to quit "
                                "without them.")
                     .arg(why, lost));
        return false;
    }
    f.report(QStringLiteral("The workbook's rows were lost on closing: %1; %2").arg(why, lost));
    return true;
}

} // namespace

void F_main_Unload(F_main& f, int& cancel) {
    QString why;
    if (!close_workbook(f, &why)) {
        if (!rescue_rows(f, why)) {
            cancel = 1;
            return;
        }
        abandon_workbook(f);
    }
    delete_old_temporary_workbook(f);
    if (f.F_tut_Vw == 1 && f.tutorial) f.tutorial->close();
}
