// SPDX-License-Identifier: MIT
#include "workbook/spreadsheet.h"

// Out of line so the vtables live in one translation unit.
SpreadsheetSheet::~SpreadsheetSheet() = default;
SpreadsheetApp::~SpreadsheetApp() = default;

QString SpreadsheetSheet::put_cell(int, int, const spreadsheet::CellValue&) {
    return QStringLiteral("this workbook cannot take back its rows");
}
