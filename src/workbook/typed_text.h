// SPDX-License-Identifier: MIT
#pragma once
// How a spreadsheet turns text typed into a cell into the cell's value.
//
// - A plain decimal number is an optional '+' or '-', ASCII digits with at
//   most one '.', at least one digit, and nothing else: no blanks, no
//   thousands separators, no exponent, no locale ('.' is the decimal point
//   everywhere). " 12", "1,5", "1e3" and "0x10" are not.
// - A plain number written as the program writes its results, with two
//   decimals and no leading zeros (".50", "30.00", "-1234.57"), becomes a
//   number shown as "0.00".
// - Any other plain number becomes a number only when the "General" format
//   shows it exactly as typed: its shortest form, at most 11 digits (what
//   General shows), so "12", "3.14159" and "-0.5" are numbers in General;
//   "007", "5.", "+7", "-.5", "2.50000" and 20-digit text stay text, so the
//   cell never shows something other than what was typed.
// - A leading apostrophe marks the rest as text and is not stored.
// - Text keeps its line breaks as LF (CR LF and lone CR become LF) and is cut
//   to spreadsheet::max_cell_text UTF-16 units, never inside a surrogate pair.
// - Empty text (or a lone apostrophe) leaves the cell without a value.

#include <QString>
#include <QStringView>

#include <optional>

namespace spreadsheet {

struct TypedValue {
    enum class Kind { empty, text, number };
    Kind kind = Kind::empty;
    QString text;              // text cells
    double number = 0;         // number cells
    bool two_decimals = false; // a number shown as "0.00"; else as "General"
    bool truncated = false;
};

TypedValue read_typed_text(const QString& typed);

// The value of a plain decimal number as described above, in the C locale.
std::optional<double> parse_plain_number(QStringView text);

} // namespace spreadsheet
