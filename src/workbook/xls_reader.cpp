// SPDX-License-Identifier: MIT
#include "workbook/xls_reader.h"

#include "workbook/biff_sheet_reader.h"
#include "workbook/cfb_reader.h"
#include "workbook/freexl_check.h"

namespace xls {

spreadsheet::SheetReading read_first_sheet(const QByteArray& file, const QString& path) {
    const CompoundStream stream = compound_file_stream(file, QStringLiteral("Workbook"));
    if (!stream.error.isEmpty()) return {{}, stream.error};
    spreadsheet::SheetReading read = read_biff_sheet(stream.bytes);
    if (read.error.isEmpty()) read.error = freexl_disagreement(path, read.sheet);
    if (!read.error.isEmpty()) read.sheet = {};
    return read;
}

} // namespace xls
