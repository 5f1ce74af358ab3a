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

// Why the value cannot be written back; empty when it was taken.
QString value_of(const FreexlValue& got, spreadsheet::CellValue* value) {
    using Kind = spreadsheet::CellValue::Kind;
    switch (got.type) {
    case FREEXL_CELL_NULL:
        value->kind = Kind::empty;
        return QString();
    case FREEXL_CELL_INT:
    case FREEXL_CELL_DOUBLE:
        value->kind = Kind::number;
        value->number = got.number;
        return QString();
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        value->kind = Kind::text;
        value->text = got.text;
        return QString();
    default:
        return QStringLiteral("it holds dates or times, which kelvo cannot write back");
    }
}

} // namespace

spreadsheet::SheetReading read_first_sheet(const QString& path) {
    // One open file for both readers, so they read the same file even when
    // another program replaces it meanwhile.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {{}, file.errorString()};
    const QByteArray bytes = file.readAll();
    const CompoundStream stream = compound_file_stream(bytes, QStringLiteral("Workbook"));
    if (!stream.error.isEmpty()) return {{}, stream.error};
    const ScannedStyles styles = scan_cell_styles(stream.bytes);
    if (!styles.error.isEmpty()) return {{}, styles.error};

    std::vector<std::pair<int, int>> at;
    for (const auto& [place, style] : styles.styles)
        at.push_back(place);
    const FreexlValues values = freexl_values(file.handle(), at);
    if (!values.error.isEmpty()) return {{}, values.error};
    spreadsheet::StoredSheet sheet;
    auto value = values.values.begin();
    for (const auto& [place, style] : styles.styles) {
        spreadsheet::StoredCell cell;
        cell.row = place.first;
        cell.col = place.second;
        if (QString why = value_of(*value++, &cell.value); !why.isEmpty()) return {{}, why};
        cell.value.two_decimals = style.two_decimals;
        cell.colour = font_colour_of(style.icv);
        sheet.last_row = std::max(sheet.last_row, cell.row);
        sheet.cells.push_back(std::move(cell));
    }
    return {sheet, QString()};
}

} // namespace xls
