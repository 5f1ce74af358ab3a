// SPDX-License-Identifier: MIT
#include "workbook/csv_application.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <charconv>

namespace {

QByteArray quoted(const QString& text) {
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') &&
        !field.contains('\r'))
        return field;
    field.replace("\"", "\"\"");
    return '"' + field + '"';
}

// What the cell shows: two decimals in "0.00", else the shortest form, which
// for a number in General is the text that was typed.
QByteArray number(const xls::Cell& cell) {
    if (cell.two_decimals) return QByteArray::number(cell.number, 'f', 2);
    char text[400];
    const auto [end, err] =
        std::to_chars(text, text + sizeof text, cell.number, std::chars_format::fixed);
    return err == std::errc() ? QByteArray(text, end - text) : QByteArray::number(cell.number);
}

// A spreadsheet opening the file would take text that begins so for a
// formula, and a picture's name comes from whoever sent the picture: such
// text gets an apostrophe in front, which shows it is text (OWASP's rule for
// CSV injection). Numbers are never text, so "-1234.57" stays as it is.
QString inert(const QString& text) {
    static const QString formula_starts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formula_starts.contains(text.front())) return u'\'' + text;
    return text;
}

QByteArray field(const xls::Cell& cell) {
    switch (cell.kind) {
    case xls::Cell::Kind::text:
        return quoted(inert(cell.text));
    case xls::Cell::Kind::number:
        return number(cell);
    case xls::Cell::Kind::empty:
        break;
    }
    return {};
}

} // namespace

QByteArray CsvApplication::encode(const xls::CellRows& rows) {
    int width = 0;
    for (const xls::CellRow& row : rows)
        if (!row.empty()) width = std::max(width, row.back().col + 1);
    QByteArray out;
    for (const xls::CellRow& row : rows) {
        auto cell = row.begin();
        for (int col = 0; col < width; ++col) {
            if (col > 0) out += ',';
            if (cell != row.end() && cell->col == col) out += field(*cell++);
        }
        out += "\r\n";
    }
    return out;
}

QString CsvApplication::write_workbook(const xls::Workbook& book, const QString& path,
                                       AtomicFile::Replace replace) const {
    return write_file_atomically(path, encode(book.rows()), replace);
}
