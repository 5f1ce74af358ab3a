// SPDX-License-Identifier: MIT
#include "output/workbook_recovery.h"

#include "form/F_main.h"
#include "output/spreadsheet_export.h"
#include "platform/user_settings.h"
#include "xls/workbook_formats.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {
QString recovery_folder() {
    // The XDG data folder, as Qt reads it afresh at each call.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/kelvo/recovered");
}

QStringList recovered_workbooks() {
    const QString folder = recovery_folder();
    if (folder.isEmpty()) return QStringList();
    QStringList patterns;
    for (const WorkbookFileType& type : workbook_file_types)
        patterns << QLatin1Char('*') + QLatin1String(type.extension);
    return QDir(folder).entryList(patterns, QDir::Files, QDir::Name);
}

const QString announced_key = QStringLiteral("recovered/announced");
} // namespace

QString recovery_workbook_path(const QString& book, const QDateTime& when) {
    const QString folder = recovery_folder();
    if (folder.isEmpty()) return QString();
    // The same format as the workbook: the rows are in its application.
    QString extension = QStringLiteral(".xls");
    for (const WorkbookFileType& type : workbook_file_types)
        if (type.format == workbook_format(book)) extension = QLatin1String(type.extension);
    QString name = QFileInfo(book).fileName();
    if (name.endsWith(extension, Qt::CaseInsensitive)) name.chop(extension.size());
    return folder + QLatin1Char('/') + name + QLatin1Char('-') +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + extension;
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
    const QString extension = QLatin1Char('.') + QFileInfo(path).suffix();
    const QString stem = path.chopped(extension.size());
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = stem + QStringLiteral("-%1").arg(n) + extension;
    if (const QString why = f.xl_app->save_as(path); !why.isEmpty())
        return {QString(), workbook_failure(path, why)};
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

void show_recovered_workbooks_item(F_main& f) {
    f.fw->setVisible(!recovered_workbooks().isEmpty());
}

void announce_recovered_workbooks(F_main& f) {
    const QStringList present = recovered_workbooks();
    f.fw->setVisible(!present.isEmpty());
    QSettings settings = user_settings();
    const QStringList announced = settings.value(announced_key).toStringList();
    const qsizetype fresh = std::count_if(present.begin(), present.end(), [&](const QString& name) {
        return !announced.contains(name);
    });
    // Only the names still there are remembered, so the list never grows old.
    settings.setValue(announced_key, present);
    if (fresh == 0) return;
    f.report(QStringLiteral("%1 workbook(s) with rows that could not be saved on closing were "
                            "kept in %2: File > Recovered workbooks opens the folder")
                 .arg(fresh)
                 .arg(QDir::toNativeSeparators(recovery_folder())));
}

void fw_Click(F_main& f) {
    const QString folder = QDir::toNativeSeparators(recovery_folder());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(recovery_folder())))
        f.report(
            QStringLiteral("Could not open the folder %1: no file manager answered").arg(folder));
    else
        f.report(QStringLiteral("Opened the folder %1").arg(folder), F_main::Outcome::done);
}
