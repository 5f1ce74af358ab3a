// SPDX-License-Identifier: MIT
#include "workbook/xls_reader.h"

#include "workbook/biff_sheet_reader.h"
#include "workbook/cfb_reader.h"
#include "workbook/freexl_check.h"

namespace xls {

spreadsheet::SheetReading read_first_sheet(const QByteArray& file, const QString& path,
                                           const spreadsheet::ReadProgress& progress) {
    // Each step's share of the time a full sheet of results takes.
    const auto part = [&](int from, int to) -> spreadsheet::ReadProgress {
        if (!progress) return {};
        return [&progress, from, to](int percent) { progress(from + (to - from) * percent / 100); };
    };
    const CompoundStream stream = compound_file_stream(file, QStringLiteral("Workbook"));
    if (!stream.error.isEmpty()) return {{}, stream.error};
    spreadsheet::SheetReading read = read_biff_sheet(stream.bytes, part(5, 45));
    if (read.error.isEmpty()) read.error = freexl_disagreement(path, read.sheet, part(45, 90));
    if (!read.error.isEmpty()) read.sheet = {};
    return read;
}

} // namespace xls
