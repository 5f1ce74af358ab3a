// SPDX-License-Identifier: MIT
#include "workbook/biff_workbook_stream.h"

#include "workbook/biff_globals.h"
#include "workbook/biff_sst.h"
#include "workbook/biff_worksheet.h"
#include "workbook/biff_writer.h"
#include "workbook/xls_styles.h"

namespace xls {

namespace {

CellLook look_of(const Cell& cell) {
    if (cell.kind == Cell::Kind::number && cell.two_decimals) return CellLook::number;
    // A number in General shares the text cells' format: General, no wrap.
    return cell.wrap ? CellLook::wrapped_text : CellLook::text;
}

// An upper bound of the stream's size: the strings with their CONTINUE
// headers, the cell and ROW records, and generously the fixed records.
qint64 size_estimate(const CellRows& rows, std::size_t cells, const SharedStrings& strings) {
    const qint64 string_bytes = strings.character_bytes();
    const qint64 continue_bytes = (string_bytes / (max_record_data - 1) + 1) * 5;
    return 8192 + static_cast<qint64>(rows.size()) * 22 + static_cast<qint64>(cells) * 18 +
           string_bytes + continue_bytes;
}

} // namespace

EncodedBytes workbook_stream(const CellRows& rows) {
    StyleTable styles;
    SharedStrings strings;
    std::vector<CellFormatting> formatting;
    for (const CellRow& row : rows) {
        for (const Cell& cell : row) {
            if (cell.kind == Cell::Kind::empty) continue;
            const quint16 xf = styles.cell_xf(look_of(cell), cell.font_colour);
            const quint32 string = cell.kind == Cell::Kind::text ? strings.add(cell.text) : 0;
            formatting.push_back({xf, string});
        }
        if (strings.character_bytes() > max_stream_size) break;
    }
    const qint64 estimate = size_estimate(rows, formatting.size(), strings);
    if (estimate > max_stream_size)
        return {QByteArray(), QStringLiteral("the sheet holds too much text for an Excel 97-2003 "
                                             "workbook, which must stay below 2 GB")};

    BiffWriter out(estimate);
    const qsizetype sheet_pos_field = write_globals(out, styles, strings);
    out.patch_u32(sheet_pos_field, static_cast<quint32>(out.pos()));
    write_worksheet(out, rows, formatting);
    return {out.take(), QString()};
}

} // namespace xls
