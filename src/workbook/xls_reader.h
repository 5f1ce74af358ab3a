// SPDX-License-Identifier: MIT
#pragma once
// Reads back the first sheet of an Excel 97-2003 workbook, whole or not at
// all: the compound file (cfb_reader.h), then the BIFF8 records
// (biff_sheet_reader.h), then libfreexl's second opinion on every cell
// (freexl_check.h). Runs in the reader program (read_workbook_main.cpp), never
// in the window: the file is another program's, and whatever it makes a
// parser do must cost the window neither its memory, nor its time, nor its rows.

#include "workbook/spreadsheet.h"

#include <QByteArray>

namespace xls {

// The sheet of the workbook whose bytes are `file`; libfreexl reads the same
// bytes at `path`. `progress` hears how far it got, up to 90%: writing the
// answer is the rest.
spreadsheet::SheetReading read_first_sheet(const QByteArray& file, const QString& path,
                                           const spreadsheet::ReadProgress& progress = {});

} // namespace xls
