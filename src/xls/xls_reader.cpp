// SPDX-License-Identifier: MIT
#include "xls/xls_reader.h"

#include "xls/biff_cell_styles.h"
#include "xls/cfb_reader.h"
#include "xls/freexl_values.h"
#include "xls/xls_colours.h"

#include <QFile>

#include <algorithm>

#include <freexl.h>

namespace xls {

namespace {

bool value_of(const FreexlValue& got, spreadsheet::CellValue* value, QString* why) {
    using Kind = spreadsheet::CellValue::Kind;
    switch (got.type) {
    case FREEXL_CELL_NULL:
        value->kind = Kind::empty;
        return true;
    case FREEXL_CELL_INT:
    case FREEXL_CELL_DOUBLE:
        value->kind = Kind::number;
        value->number = got.number;
        return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        value->kind = Kind::text;
        value->text = got.text;
        return true;
    default:
        *why = QStringLiteral("it holds dates or times, which kelvo cannot write back");
        return false;
    }
}

} // namespace

std::optional<spreadsheet::StoredSheet> read_first_sheet(const QString& path, QString* why) {
    // One open file for both readers, so they read the same file even when
    // another program replaces it meanwhile.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const QByteArray stream = compound_file_stream(bytes, QStringLiteral("Workbook"), why);
    if (stream.isEmpty()) return std::nullopt;
    const std::optional<CellStyles> styles = scan_cell_styles(stream, why);
    if (!styles) return std::nullopt;

    std::vector<std::pair<int, int>> at;
    for (const auto& [place, style] : *styles)
        at.push_back(place);
    const std::optional<std::vector<FreexlValue>> values = freexl_values(file.handle(), at, why);
    if (!values) return std::nullopt;
    spreadsheet::StoredSheet sheet;
    auto value = values->begin();
    for (const auto& [place, style] : *styles) {
        spreadsheet::StoredCell cell;
        cell.row = place.first;
        cell.col = place.second;
        if (!value_of(*value++, &cell.value, why)) return std::nullopt;
        cell.value.two_decimals = style.two_decimals;
        cell.colour = font_colour_of(style.icv);
        sheet.last_row = std::max(sheet.last_row, cell.row);
        sheet.cells.push_back(std::move(cell));
    }
    return sheet;
}

} // namespace xls
