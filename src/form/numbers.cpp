// SPDX-License-Identifier: MIT
#include "form/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

bool is_blank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool is_digit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Rounds the decimal digits of |value| (given with `significant` significant
// digits, the way the value prints) to `decimals` places, halves away from zero.
QString format_fixed(double value, int decimals, int significant) {
    if (!std::isfinite(value))
        return value != value
                   ? QStringLiteral("NaN")
                   : (value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity"));
    // Print with the value's own precision first, so a float such as 1.005f
    // (stored as 1.00499999...) rounds as the digits a user would read.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    // buf is d.ddddde±XX: collect the digits and the exponent.
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    const int exponent = std::atoi(p + 1);
    // Position of the decimal point inside `digits`.
    int point = exponent + 1;
    // Pad so that the digits cover every place we keep plus one to round on.
    if (point < 0) {
        digits.insert(0, static_cast<size_t>(-point), '0');
        point = 0;
    }
    const size_t keep = static_cast<size_t>(point + decimals);
    while (digits.size() < keep + 1)
        digits.push_back('0');
    const bool round_up = digits[keep] >= '5';
    digits.resize(keep);
    if (round_up) {
        int i = static_cast<int>(keep) - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    std::string whole = digits.substr(0, static_cast<size_t>(point));
    const std::string frac = digits.substr(static_cast<size_t>(point));
    // "#" prints no digit for a zero whole part.
    const size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? std::string() : whole.substr(first);
    const bool zero = whole.empty() && frac.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !zero ? "-" : "") + whole + "." + frac;
    return QString::fromLatin1(out.c_str());
}

} // namespace

namespace {

// The leading number of `text`; `end` is where its prefix ends (0 when the
// text does not begin with a number).
double read_leading_number(const QString& text, qsizetype& end) {
    end = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && is_blank(text[i]))
        ++i;
    std::string s;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-')) s.push_back('-');
        ++i;
    }
    bool any_digit = false;
    while (i < n && is_digit(text[i])) {
        s.push_back(static_cast<char>(text[i].unicode()));
        ++i;
        any_digit = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        s.push_back('.');
        ++i;
        while (i < n && is_digit(text[i])) {
            s.push_back(static_cast<char>(text[i].unicode()));
            ++i;
            any_digit = true;
        }
    }
    if (!any_digit) return 0.0;
    // An exponent counts only when digits follow it ("2e" reads as 2).
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string e = "e";
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            e.push_back(static_cast<char>(text[j].unicode()));
            ++j;
        }
        if (j < n && is_digit(text[j])) {
            while (j < n && is_digit(text[j])) {
                e.push_back(static_cast<char>(text[j].unicode()));
                ++j;
            }
            s += e;
            i = j;
        }
    }
    end = i;
    double value = 0.0;
    const char* begin = s.data();
    if (*begin == '-') ++begin;
    const auto result = std::from_chars(begin, s.data() + s.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow reads as an infinite value, underflow as zero: a number
        // too small has a negative exponent, any other one is too large.
        const auto e = s.find('e');
        const bool tiny = e != std::string::npos && s[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return s[0] == '-' ? -value : value;
}

} // namespace

double leading_number(const QString& text) {
    qsizetype end = 0;
    return read_leading_number(text, end);
}

qsizetype leading_number_end(const QString& text) {
    qsizetype end = 0;
    read_leading_number(text, end);
    return end;
}

QString format_2dp(double value) {
    return format_fixed(value, 2, 15);
}
QString format_2dp(float value) {
    return format_fixed(value, 2, 7);
}
QString format_3dp(double value) {
    return format_fixed(value, 3, 15);
}
QString format_3dp(float value) {
    return format_fixed(value, 3, 7);
}

double round_half_even(double value) {
    return std::nearbyint(value);
}

int round_to_int(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}
