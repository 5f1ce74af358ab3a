// SPDX-License-Identifier: MIT
#include "xls/spreadsheet.h"

// Out of line so the vtables live in one translation unit.
SpreadsheetSheet::~SpreadsheetSheet() = default;
SpreadsheetApp::~SpreadsheetApp() = default;

bool SpreadsheetSheet::put_cell(int, int, const spreadsheet::CellValue&) {
    return false;
}
