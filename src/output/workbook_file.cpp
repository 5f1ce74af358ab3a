// SPDX-License-Identifier: MIT
#include "output/workbook_file.h"

#include "form/F_main.h"
#include "output/spreadsheet_export.h"
#include "xls/spreadsheet_readers.h"

namespace {

// Fills `sheet` with the cells read back and the rows still to be saved;
// returns the row after the last, or 0 with *why.
int refill(SpreadsheetSheet& sheet, const spreadsheet::StoredSheet& stored,
           const std::vector<spreadsheet::TypedRow>& pending, QString* why) {
    for (const spreadsheet::StoredCell& cell : stored.cells) {
        if (!sheet.put_cell(cell.row, cell.col, cell.value) ||
            !sheet.set_font_colour(cell.row, cell.col, cell.colour)) {
            *why = sheet.error().isEmpty()
                       ? QStringLiteral("this workbook cannot take back its rows")
                       : sheet.error();
            return 0;
        }
    }
    int row = stored.last_row + 1;
    for (const spreadsheet::TypedRow& cells : pending) {
        bool cut = false;
        if (const QString failure = type_row(sheet, row, cells, &cut); !failure.isEmpty()) {
            *why = failure;
            return 0;
        }
        ++row;
    }
    return row;
}

} // namespace

WorkbookFile follow_workbook_file(F_main& f, QString* why) {
    const FileIdentity now = file_identity(f.xl_book);
    if (!now.exists || now == f.xl_written) return WorkbookFile::ours;
    const spreadsheet::SheetReader reader = sheet_reader_for(f.xl_book);
    if (!reader) {
        *why = QStringLiteral("kelvo cannot read this kind of workbook back");
        return WorkbookFile::unreadable;
    }
    const spreadsheet::SheetReading read = reader(f.xl_book);
    if (!read.error.isEmpty()) {
        *why = read.error;
        return WorkbookFile::unreadable;
    }
    const spreadsheet::StoredSheet& stored = read.sheet;
    if (!is_results_sheet(stored)) {
        *why = QStringLiteral("its first sheet does not begin with kelvo's banner and header");
        return WorkbookFile::unreadable;
    }
    // Into a new workbook, so that a failure half-way leaves the open one whole.
    std::unique_ptr<SpreadsheetApp> app = f.spreadsheets ? f.spreadsheets(f.xl_book, why) : nullptr;
    SpreadsheetSheet* sheet = app && app->add_workbook() ? app->active_sheet() : nullptr;
    if (!sheet) {
        if (app) *why = app->error();
        return WorkbookFile::unreadable;
    }
    const int next_row = refill(*sheet, stored, f.xl_pending, why);
    if (next_row == 0) return WorkbookFile::unreadable;
    if (f.xl_app) f.xl_app->quit();
    f.xl_app = std::move(app);
    f.xl_row = next_row;
    f.xl_written = now;
    return WorkbookFile::read_back;
}

bool save_workbook_file(F_main& f, QString* why) {
    if (!f.xl_app->save_as(f.xl_book)) {
        *why = f.xl_app->error();
        return false;
    }
    // Nobody else writes the file while the folder is locked: what is there
    // now is what this window wrote.
    f.xl_written = file_identity(f.xl_book);
    f.xl_pending.clear();
    return true;
}

QString type_row(SpreadsheetSheet& sheet, int row, const spreadsheet::TypedRow& cells, bool* cut) {
    QString failure;
    *cut = false;
    for (const spreadsheet::TypedCell& cell : cells) {
        // Every step is tried even when one fails.
        if (cell.colour && !sheet.set_font_colour(row, cell.col, *cell.colour) && failure.isEmpty())
            failure = sheet.error();
        const bool ok = sheet.set_cell(row, cell.col, cell.text);
        if (!ok && failure.isEmpty()) failure = sheet.error();
        *cut = *cut || (ok && sheet.last_cell_truncated());
    }
    return failure;
}
