// SPDX-License-Identifier: MIT
#include "output/workbook_file.h"

#include "version.h"
#include "workbook/typed_text.h"

#include <map>

namespace {

const QString banner = QStringLiteral("'- kelvo version " KELVO_VERSION " -");
const QString header[] = {QStringLiteral("filename"), QStringLiteral("X"), QStringLiteral("Y"),
                          QStringLiteral("D"), QStringLiteral("comment")};
constexpr int columns = 5;

// A row's values as the file stores them, column 1 to 5, as one comparable key.
using RowValues = std::vector<QString>;

QString stored_form(const spreadsheet::CellValue& value) {
    switch (value.kind) {
    case spreadsheet::CellValue::Kind::text:
        return u't' + value.text;
    case spreadsheet::CellValue::Kind::number:
        return u'n' + QString::number(value.number, 'g', 17);
    case spreadsheet::CellValue::Kind::empty:
        break;
    }
    return QString();
}

RowValues typed_values(const spreadsheet::TypedRow& cells) {
    RowValues values(columns);
    for (const spreadsheet::TypedCell& cell : cells) {
        if (cell.col < 1 || cell.col > columns) continue;
        const spreadsheet::TypedValue typed = spreadsheet::read_typed_text(cell.text);
        spreadsheet::CellValue value;
        value.kind = typed.kind == spreadsheet::TypedValue::Kind::text
                         ? spreadsheet::CellValue::Kind::text
                     : typed.kind == spreadsheet::TypedValue::Kind::number
                         ? spreadsheet::CellValue::Kind::number
                         : spreadsheet::CellValue::Kind::empty;
        value.text = typed.text;
        value.number = typed.number;
        values[cell.col - 1] = stored_form(value);
    }
    return values;
}

} // namespace

QString write_banner_and_header(SpreadsheetSheet& sheet) {
    QString why = sheet.set_cell(1, 1, banner).error;
    for (int col = 1; why.isEmpty() && col <= columns; ++col)
        why = sheet.set_cell(2, col, header[col - 1]).error;
    return why;
}

bool is_results_sheet(const spreadsheet::StoredSheet& sheet) {
    const auto text_at = [&](int row, int col) {
        for (const spreadsheet::StoredCell& cell : sheet.cells)
            if (cell.row == row && cell.col == col &&
                cell.value.kind == spreadsheet::CellValue::Kind::text)
                return cell.value.text;
        return QString();
    };
    // Any version's banner: "- kelvo version 0.02 -".
    if (!text_at(1, 1).startsWith(banner.mid(1, 16))) return false;
    for (int col = 1; col <= columns; ++col)
        if (text_at(2, col) != header[col - 1]) return false;
    return true;
}

TypedRowResult type_row(SpreadsheetSheet& sheet, int row, const spreadsheet::TypedRow& cells) {
    TypedRowResult result;
    for (const spreadsheet::TypedCell& cell : cells) {
        // Every step is tried even when one fails.
        if (cell.colour) {
            const QString why = sheet.set_font_colour(row, cell.col, *cell.colour);
            if (result.error.isEmpty()) result.error = why;
        }
        const spreadsheet::CellTyping typed = sheet.set_cell(row, cell.col, cell.text);
        if (result.error.isEmpty()) result.error = typed.error;
        result.cut = result.cut || typed.cut;
    }
    return result;
}

Refilled refill(SpreadsheetSheet& sheet, const spreadsheet::StoredSheet& stored,
                const std::vector<spreadsheet::TypedRow>& rows) {
    for (const spreadsheet::StoredCell& cell : stored.cells) {
        QString why = sheet.put_cell(cell.row, cell.col, cell.value);
        if (why.isEmpty()) why = sheet.set_font_colour(cell.row, cell.col, cell.colour);
        if (!why.isEmpty()) return {0, why};
    }
    int row = stored.last_row + 1;
    for (const spreadsheet::TypedRow& cells : rows) {
        if (const QString failure = type_row(sheet, row, cells).error; !failure.isEmpty())
            return {0, failure};
        ++row;
    }
    return {row, QString()};
}

std::vector<std::size_t> rows_missing(const spreadsheet::StoredSheet& stored,
                                      const std::vector<spreadsheet::TypedRow>& rows) {
    std::map<int, RowValues> file_rows;
    for (const spreadsheet::StoredCell& cell : stored.cells) {
        if (cell.row < 3 || cell.col < 1 || cell.col > columns) continue;
        RowValues& values = file_rows[cell.row];
        if (values.empty()) values.resize(columns);
        values[cell.col - 1] = stored_form(cell.value);
    }
    std::multimap<RowValues, int> held;
    for (auto& [row, values] : file_rows)
        held.emplace(std::move(values), row);
    std::vector<std::size_t> missing;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto found = held.find(typed_values(rows[i]));
        if (found == held.end())
            missing.push_back(i);
        else
            held.erase(found);
    }
    return missing;
}
