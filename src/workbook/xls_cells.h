// SPDX-License-Identifier: MIT
#pragma once
// The cells of a sheet as the workbook keeps them in memory: one vector per
// row, each holding only the cells that were touched, sorted by column.

#include "workbook/xls_colours.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace xls {

struct Cell {
    enum class Kind : quint8 { empty, text, number };
    quint16 col = 0;           // from 0
    Kind kind = Kind::empty;   // empty: only a font colour was set
    bool wrap = false;         // text holding a line break
    bool two_decimals = false; // a number shown as "0.00"; else as "General"
    quint16 font_colour = icv_automatic;
    double number = 0;
    QString text;
};

using CellRow = std::vector<Cell>;
// Indexed by row from 0; rows that were never touched are empty vectors.
using CellRows = std::vector<CellRow>;

} // namespace xls
