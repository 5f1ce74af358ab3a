// SPDX-License-Identifier: MIT
#include "workbook/typed_text.h"

#include "workbook/spreadsheet.h"

#include <charconv>
#include <string>

namespace spreadsheet {

namespace {

bool is_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool looks_like_plain_number(QStringView text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (is_digit(text[i]))
            ++digits;
        else if (text[i] == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits > 0;
}

// "#.00" and "0.00" as the results are written: an integer part without
// leading zeros (or none at all), the point, two digits.
bool has_two_decimals(QStringView text) {
    if (text.startsWith(u'-')) text = text.mid(1);
    if (text.startsWith(u'+')) return false;
    const qsizetype point = text.indexOf(u'.');
    if (point < 0 || text.size() - point != 3) return false;
    return point <= 1 || text[0] != u'0';
}

// What General shows for the value (its shortest exact form, at most 11
// digits) is the text itself.
bool general_shows_as_typed(QStringView text, double value) {
    char shown[400];
    const auto [end, err] =
        std::to_chars(shown, shown + sizeof shown, value, std::chars_format::fixed);
    if (err != std::errc()) return false;
    int digits = 0;
    for (const char* c = shown; c != end; ++c)
        digits += is_digit(QChar(*c)) ? 1 : 0;
    return digits <= 11 && QLatin1StringView(shown, end - shown) == text;
}

QString with_lf_line_breaks(const QString& text) {
    if (!text.contains(u'\r')) return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

} // namespace

std::optional<double> parse_plain_number(QStringView text) {
    if (!looks_like_plain_number(text)) return std::nullopt;
    // The pattern is pure ASCII, so Latin-1 holds it exactly; from_chars
    // ignores the locale but does not take a '+'.
    std::string ascii = text.toLatin1().toStdString();
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (*first == '+') ++first;
    double value = 0;
    const auto [end, err] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (err != std::errc() || end != last) return std::nullopt;
    return value + 0.0; // a typed "-0" is zero, not negative zero
}

TypedValue read_typed_text(const QString& typed) {
    TypedValue value;
    QString text;
    if (typed.startsWith(u'\'')) {
        text = typed.mid(1);
    } else if (const auto number = parse_plain_number(typed);
               number && (has_two_decimals(typed) || general_shows_as_typed(typed, *number))) {
        value.kind = TypedValue::Kind::number;
        value.number = *number;
        value.two_decimals = has_two_decimals(typed);
        return value;
    } else {
        text = typed;
    }
    text = with_lf_line_breaks(text);
    if (text.isEmpty()) return value;
    if (text.size() > spreadsheet::max_cell_text) {
        qsizetype keep = spreadsheet::max_cell_text;
        if (text.at(keep - 1).isHighSurrogate() && text.at(keep).isLowSurrogate()) --keep;
        text.truncate(keep);
        value.truncated = true;
    }
    value.kind = TypedValue::Kind::text;
    value.text = std::move(text);
    return value;
}

} // namespace spreadsheet
