// SPDX-License-Identifier: MIT
#pragma once
// The workbook as a file: its banner and header, typing a row, filling a
// workbook again from what was read back, and telling whether rows a window
// saved are still in what was read back.

#include "workbook/spreadsheet.h"

#include <QString>

#include <vector>

// Types the banner and the header row; the first failure, "" when all went in.
QString write_banner_and_header(SpreadsheetSheet& sheet);

// Whether a sheet read back from a file is one of the program's workbooks:
// the banner, then the header row.
bool is_results_sheet(const spreadsheet::StoredSheet& sheet);

struct TypedRowResult {
    QString error;    // the first failure; empty when every cell went in
    bool cut = false; // the sheet had to cut a text to fit a cell
};
// Types a row's cells into `row`; every cell is tried even when one fails.
TypedRowResult type_row(SpreadsheetSheet& sheet, int row, const spreadsheet::TypedRow& cells);

struct Refilled {
    int next_row = 0; // the row after the last
    QString error;    // empty on success
};
// Fills `sheet` with the cells read back, then types `rows` after them.
Refilled refill(SpreadsheetSheet& sheet, const spreadsheet::StoredSheet& stored,
                const std::vector<spreadsheet::TypedRow>& rows);

// Which of `rows` (as typed) the sheet read back does not hold, by their
// places in `rows`. A row is held when a result row of the sheet has the
// same values in the same columns; each row of the sheet holds one of them.
std::vector<std::size_t> rows_missing(const spreadsheet::StoredSheet& stored,
                                      const std::vector<spreadsheet::TypedRow>& rows);
