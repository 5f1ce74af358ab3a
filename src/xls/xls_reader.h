// SPDX-License-Identifier: MIT
#pragma once
// Reads back the first sheet of an Excel 97-2003 workbook: the cells' values
// through libfreexl (Debian's reader of the format, run in a child process:
// freexl_values.h), their font colours and number formats through the
// program's own scan of the BIFF8 records, which libfreexl does not expose.

#include "xls/spreadsheet.h"

namespace xls {

spreadsheet::SheetReading read_first_sheet(const QString& path);

} // namespace xls
