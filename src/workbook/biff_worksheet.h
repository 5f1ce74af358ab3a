// SPDX-License-Identifier: MIT
#pragma once
// The worksheet substream: settings, column widths, and the cells in blocks
// of 32 rows, each block closed by a DBCELL that lets a reader find its rows.

#include "workbook/biff_writer.h"
#include "workbook/xls_cells.h"

#include <vector>

namespace xls {

// What a cell record needs beyond the cell itself: its XF and, for text, its
// shared string. One per cell with a value, in row and column order.
struct CellFormatting {
    quint16 xf;
    quint32 string;
};

void write_worksheet(BiffWriter& out, const CellRows& rows,
                     const std::vector<CellFormatting>& formatting);

} // namespace xls
