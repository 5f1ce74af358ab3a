// SPDX-License-Identifier: MIT
#include "output/workbook_file.h"

#include "form/F_main.h"
#include "output/spreadsheet_export.h"
#include "xls/spreadsheet_readers.h"

namespace {

struct Refilled {
    int next_row = 0; // the row after the last
    QString error;    // empty on success
};
// Fills `sheet` with the cells read back and the rows still to be saved.
Refilled refill(SpreadsheetSheet& sheet, const spreadsheet::StoredSheet& stored,
                const std::vector<spreadsheet::TypedRow>& pending) {
    for (const spreadsheet::StoredCell& cell : stored.cells) {
        QString why = sheet.put_cell(cell.row, cell.col, cell.value);
        if (why.isEmpty()) why = sheet.set_font_colour(cell.row, cell.col, cell.colour);
        if (!why.isEmpty()) return {0, why};
    }
    int row = stored.last_row + 1;
    for (const spreadsheet::TypedRow& cells : pending) {
        bool cut = false;
        if (const QString failure = type_row(sheet, row, cells, &cut); !failure.isEmpty())
            return {0, failure};
        ++row;
    }
    return {row, QString()};
}

} // namespace

FollowedFile follow_workbook_file(F_main& f) {
    const auto unreadable = [](const QString& why) {
        return FollowedFile{WorkbookFile::unreadable, why};
    };
    const FileIdentity now = file_identity(f.xl_book);
    if (!now.exists || now == f.xl_written) return {WorkbookFile::ours, QString()};
    const spreadsheet::SheetReader reader = sheet_reader_for(f.xl_book);
    if (!reader) return unreadable(QStringLiteral("kelvo cannot read this kind of workbook back"));
    const spreadsheet::SheetReading read = reader(f.xl_book);
    if (!read.error.isEmpty()) return unreadable(read.error);
    const spreadsheet::StoredSheet& stored = read.sheet;
    if (!is_results_sheet(stored))
        return unreadable(
            QStringLiteral("its first sheet does not begin with kelvo's banner and header"));
    // Into a new workbook, so that a failure half-way leaves the open one whole.
    StartedSpreadsheet started = f.spreadsheets ? f.spreadsheets(f.xl_book) : StartedSpreadsheet{};
    std::unique_ptr<SpreadsheetApp> app = std::move(started.app);
    if (!app) return unreadable(started.error);
    if (const QString why = app->add_workbook(); !why.isEmpty()) return unreadable(why);
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return unreadable(QString());
    const Refilled refilled = refill(*sheet, stored, f.xl_pending);
    if (!refilled.error.isEmpty()) return unreadable(refilled.error);
    const int next_row = refilled.next_row;
    if (f.xl_app) f.xl_app->quit();
    f.xl_app = std::move(app);
    f.xl_row = next_row;
    f.xl_written = now;
    return {WorkbookFile::read_back, QString()};
}

QString save_workbook_file(F_main& f) {
    if (const QString why = f.xl_app->save_as(f.xl_book); !why.isEmpty()) return why;
    // Nobody else writes the file while the folder is locked: what is there
    // now is what this window wrote.
    f.xl_written = file_identity(f.xl_book);
    f.xl_pending.clear();
    return QString();
}

QString type_row(SpreadsheetSheet& sheet, int row, const spreadsheet::TypedRow& cells, bool* cut) {
    QString failure;
    *cut = false;
    for (const spreadsheet::TypedCell& cell : cells) {
        // Every step is tried even when one fails.
        if (cell.colour) {
            const QString why = sheet.set_font_colour(row, cell.col, *cell.colour);
            if (failure.isEmpty()) failure = why;
        }
        const QString why = sheet.set_cell(row, cell.col, cell.text);
        const bool ok = why.isEmpty();
        if (failure.isEmpty()) failure = why;
        *cut = *cut || (ok && sheet.last_cell_truncated());
    }
    return failure;
}
