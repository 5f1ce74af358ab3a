// SPDX-License-Identifier: MIT
#include "output/workbook_recovery.h"

#include "form/output_room.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_file.h"
#include "platform/user_settings.h"
#include "workbook/workbook_formats.h"

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
        if (type.kind == workbook_format(book)) extension = QLatin1String(type.extension);
    QString name = QFileInfo(book).fileName();
    if (name.endsWith(extension, Qt::CaseInsensitive)) name.chop(extension.size());
    return folder + QLatin1Char('/') + name + QLatin1Char('-') +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + extension;
}

RecoveryWorkbook save_recovery_workbook(const SpreadsheetFactory& spreadsheets, const QString& book,
                                        const std::vector<spreadsheet::TypedRow>& rows) {
    const QString first = recovery_workbook_path(book, QDateTime::currentDateTime());
    if (first.isEmpty())
        return {QString(),
                QStringLiteral("there is no data folder (neither XDG_DATA_HOME nor HOME is set)")};
    const auto fail = [&](const QString& why) {
        return RecoveryWorkbook{QString(), workbook_failure(first, why)};
    };
    StartedSpreadsheet started = spreadsheets ? spreadsheets(book) : StartedSpreadsheet{};
    const std::unique_ptr<SpreadsheetApp> app = std::move(started.app);
    if (!app) return fail(started.error);
    if (const QString why = app->add_workbook(); !why.isEmpty()) return fail(why);
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return fail(QStringLiteral("the spreadsheet application has no sheet"));
    spreadsheet::StoredSheet nothing_before;
    nothing_before.last_row = 2;
    if (QString why = write_banner_and_header(*sheet); !why.isEmpty()) return fail(why);
    if (const Refilled typed = refill(*sheet, nothing_before, rows); !typed.error.isEmpty())
        return fail(typed.error);
    // A failure to make the folder shows as the save's own reason below.
    QDir().mkpath(QFileInfo(first).absolutePath());
    const QString extension = QLatin1Char('.') + QFileInfo(first).suffix();
    const QString stem = first.chopped(extension.size());
    QString path = first;
    for (int n = 2;; ++n) {
        const QString why = app->save_as_new(path);
        if (why.isEmpty()) break;
        // A file there now took the name first (another window's rescue
        // in the same second): the next name is tried.
        const QFileInfo taken(path);
        if (!(taken.exists() || taken.isSymLink()) || n > 1000) {
            app->quit();
            return {QString(), workbook_failure(path, why)};
        }
        path = stem + QStringLiteral("-%1").arg(n) + extension;
    }
    app->quit();
    return {path, QString()};
}

void show_recovered_workbooks_item(const OutputRoom& room) {
    room.recovered_workbooks->setVisible(!recovered_workbooks().isEmpty());
}

StatusMessages announce_recovered_workbooks(const OutputRoom& room) {
    const QStringList present = recovered_workbooks();
    room.recovered_workbooks->setVisible(!present.isEmpty());
    QSettings settings = user_settings();
    QStringList announced = settings.value(announced_key).toStringList();
    announced.removeAll(QString());
    const qsizetype fresh = std::count_if(present.begin(), present.end(), [&](const QString& name) {
        return !announced.contains(name);
    });
    // Only the names still there are remembered, so the list never grows old.
    // QSettings would write an empty list as "@Invalid()": it is written as
    // an empty value instead.
    if (present.isEmpty())
        settings.setValue(announced_key, QString());
    else
        settings.setValue(announced_key, present);
    if (fresh == 0) return {};
    return {{QStringLiteral("%1 workbook(s) with rows that could not be saved on closing were "
                            "kept in %2: File > Recovered workbooks opens the folder")
                 .arg(fresh)
                 .arg(QDir::toNativeSeparators(recovery_folder()))}};
}

void recovered_workbooks_Click(const OutputRoom& room) {
    const QString folder = QDir::toNativeSeparators(recovery_folder());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(recovery_folder())))
        room.report(
            QStringLiteral("Could not open the folder %1: no file manager answered").arg(folder));
    else
        room.report(QStringLiteral("Opened the folder %1").arg(folder), ReportOutcome::done);
}
