// SPDX-License-Identifier: MIT
#include "workbook/spreadsheet_readers.h"

#include "workbook/reader_process.h"

spreadsheet::SheetReader sheet_reader_for(const QString& path) {
    if (path.right(4).toUpper() == QLatin1String(".XLS")) return xls::read_in_reader_process;
    return {};
}
