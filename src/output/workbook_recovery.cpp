#include "output/workbook_recovery.h"

#include "form/F_main.h"
#include "output/spreadsheet_export.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString recovery_folder() {
    // The XDG data folder, as Qt reads it afresh at each call.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/kelvo/recovered");
}
} // namespace

QString recovery_workbook_path(const QString& book, const QDateTime& when) {
    const QString folder = recovery_folder();
    if (folder.isEmpty()) return QString();
    QString name = QFileInfo(book).fileName();
    if (name.right(4).toUpper() == QLatin1String(".XLS")) name.chop(4);
    return folder + QLatin1Char('/') + name + QLatin1Char('-') +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".xls");
}

RecoveryWorkbook save_recovery_workbook(F_main& f) {
    if (!f.xl_app) return {QString(), QStringLiteral("the spreadsheet application is gone")};
    QString path = recovery_workbook_path(f.xl_book, QDateTime::currentDateTime());
    if (path.isEmpty())
        return {QString(),
                QStringLiteral("there is no data folder (neither XDG_DATA_HOME nor HOME is set)")};
    // A failure to make the folder shows as the save's own reason below.
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Two rescues within one second, by two windows, keep both.
    const QString stem = path.chopped(4);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = stem + QStringLiteral("-%1.xls").arg(n);
    if (!f.xl_app->save_as(path)) return {QString(), workbook_failure(path, f.xl_app->error())};
    return {path, QString()};
}

bool rescue_rows(F_main& f, const QString& why) {
    const RecoveryWorkbook kept = save_recovery_workbook(f);
    const QString& lost = kept.error;
    if (lost.isEmpty()) {
        // Reported as a failure, so the log (standard error) names the file
        // even though the window is going.
        f.report(QStringLiteral("The workbook was not saved on closing (%1); its rows were "
                                "saved in %2")
                     .arg(why, QDir::toNativeSeparators(kept.path)));
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
