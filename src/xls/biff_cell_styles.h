// SPDX-License-Identifier: MIT
#pragma once
// What a value reader does not tell about a workbook's cells: their font
// colour and whether a number is shown with two decimals. Read straight from
// the BIFF8 records (each cell's XF, the XF's font and number format, the
// font's colour), which is also where the scan sees what writing the sheet
// anew would lose: more sheets, formulas, notes, pictures, links.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <map>
#include <utility>

namespace xls {

struct CellStyle {
    quint16 icv = 0x7FFF; // font colour, as the file gives it
    bool two_decimals = false;
};
// By (row, column), both from 1: every cell record of the first sheet.
using CellStyles = std::map<std::pair<int, int>, CellStyle>;

struct ScannedStyles {
    CellStyles styles;
    QString error; // empty on success
};
// Scans the Workbook stream; the reason when the file is not BIFF8 or holds
// what the program could not write back.
ScannedStyles scan_cell_styles(const QByteArray& stream);

} // namespace xls
