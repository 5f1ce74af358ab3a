// SPDX-License-Identifier: MIT
#include "workbook/xls_workbook.h"

#include "workbook/biff_workbook_stream.h"
#include "workbook/cfb_container.h"
#include "workbook/typed_text.h"
#include "workbook/xls_colours.h"

#include <algorithm>

namespace xls {

Workbook::Workbook() = default;

Cell* Workbook::cell_at(int row, int col) {
    if (row > spreadsheet::max_rows) {
        error_ = QStringLiteral("the sheet is full: it holds at most %1 rows, row %2 was asked for")
                     .arg(spreadsheet::max_rows)
                     .arg(row);
        return nullptr;
    }
    if (row < 1 || col < 1 || col > spreadsheet::max_columns) {
        error_ = QStringLiteral("there is no cell at row %1, column %2: rows count from 1 to %3, "
                                "columns from 1 to %4")
                     .arg(row)
                     .arg(col)
                     .arg(spreadsheet::max_rows)
                     .arg(spreadsheet::max_columns);
        return nullptr;
    }
    const auto r = static_cast<std::size_t>(row - 1);
    const auto c = static_cast<quint16>(col - 1);
    if (rows_.size() <= r) rows_.resize(r + 1);
    CellRow& cells = rows_[r];
    auto it = std::lower_bound(cells.begin(), cells.end(), c,
                               [](const Cell& cell, quint16 wanted) { return cell.col < wanted; });
    if (it == cells.end() || it->col != c) {
        Cell fresh;
        fresh.col = c;
        it = cells.insert(it, std::move(fresh));
    }
    return &*it;
}

spreadsheet::CellTyping Workbook::set_cell(int row, int col, const QString& typed_text) {
    Cell* cell = cell_at(row, col);
    if (!cell) return {error_, false};
    spreadsheet::TypedValue value = spreadsheet::read_typed_text(typed_text);
    cell->kind = value.kind == spreadsheet::TypedValue::Kind::number ? Cell::Kind::number
                 : value.kind == spreadsheet::TypedValue::Kind::text ? Cell::Kind::text
                                                                     : Cell::Kind::empty;
    cell->number = value.number;
    cell->two_decimals = value.two_decimals;
    cell->wrap = value.text.contains(u'\n');
    cell->text = std::move(value.text);
    error_.clear();
    return {QString(), value.truncated};
}

QString Workbook::put_cell(int row, int col, const spreadsheet::CellValue& value) {
    using Kind = spreadsheet::CellValue::Kind;
    Cell* cell = cell_at(row, col);
    if (!cell) return error_;
    cell->kind = value.kind == Kind::number ? Cell::Kind::number
                 : value.kind == Kind::text ? Cell::Kind::text
                                            : Cell::Kind::empty;
    cell->number = value.number;
    cell->two_decimals = value.two_decimals;
    cell->wrap = value.text.contains(u'\n');
    cell->text = value.text;
    error_.clear();
    return QString();
}

QString Workbook::set_font_colour(int row, int col, quint32 colour) {
    Cell* cell = cell_at(row, col);
    if (!cell) return error_;
    cell->font_colour = font_colour_index(colour);
    error_.clear();
    return QString();
}

EncodedBytes Workbook::encode() const {
    const EncodedBytes stream = workbook_stream(rows_);
    if (!stream.error.isEmpty()) return stream;
    return {compound_file(stream.bytes), QString()};
}

} // namespace xls
