// SPDX-License-Identifier: MIT
#pragma once
// The first sheet of a BIFF8 Workbook stream, read whole or not at all: every
// cell's value, font colour and number format, from the program's own walk of
// the records. Every record must lie inside the stream, the workbook and its
// one worksheet must end with their EOF records, the shared strings must be
// exactly as many as the SST says and fill it to its last byte, the text cells
// use them as often as it says, and each cell must sit inside its row's and
// the sheet's stated extent, in order, once. Anything less, and anything the
// sheet holds that writing it anew would lose (formulas, notes, drawings,
// more sheets, a password), is refused with the reason.

#include "workbook/spreadsheet.h"

#include <QByteArray>

namespace xls {

spreadsheet::SheetReading read_biff_sheet(const QByteArray& stream,
                                          const spreadsheet::ReadProgress& progress = {});

} // namespace xls
