#pragma once
// How a spreadsheet turns text typed into a cell into the cell's value.
//
// - Text that reads wholly as a plain decimal number becomes a number: an
//   optional '+' or '-', ASCII digits with at most one '.', at least one
//   digit, and nothing else: no blanks, no thousands separators, no exponent,
//   no locale ('.' is the decimal point everywhere). So ".50", "30.00",
//   "-1234.57", "12", "-.5" and "5." are numbers; " 12", "1,5", "1e3" and
//   "0x10" are text. A number too large for a double stays text.
// - A leading apostrophe marks the rest as text and is not stored.
// - Text keeps its line breaks as LF (CR LF and lone CR become LF) and is cut
//   to spreadsheet::max_cell_text UTF-16 units, never inside a surrogate pair.
// - Empty text (or a lone apostrophe) leaves the cell without a value.

#include <QString>
#include <QStringView>

#include <optional>

namespace xls {

struct TypedValue {
    enum class Kind { empty, text, number };
    Kind kind = Kind::empty;
    QString text;      // text cells
    double number = 0; // number cells
    bool truncated = false;
};

TypedValue read_typed_text(const QString& typed);

// The value of a plain decimal number as described above, in the C locale.
std::optional<double> parse_plain_number(QStringView text);

} // namespace xls
