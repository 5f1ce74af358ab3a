// SPDX-License-Identifier: MIT
#pragma once
// Numbers as the program reads them back from captions and text boxes, and
// writes them into labels. Captions double as state ("100%" is the zoom,
// "1.00/pixel" the scale text), so these never depend on the user's locale.

#include <QString>

// The value of the longest prefix that reads as a number: leading blanks
// skipped, optional sign, digits, "." as the decimal point, optional exponent.
// "1.00/pixel" gives 1, "100%" gives 100, "1,5" gives 1, "abc" and "" give 0.
double leading_number(const QString& text);
// Where that prefix ends in `text`: 0 when the text does not begin with a
// number, so "abc" and "0" tell apart although both read as 0.
qsizetype leading_number_end(const QString& text);

// "#.00": two decimals, no leading zero below 1, no digit grouping.
// 0 gives ".00", 0.5 gives ".50", -0.5 gives "-.50". Halves round away from zero
// on the value's shortest decimal form, so 0.125 gives ".13".
QString format_2dp(double value);
QString format_2dp(float value);
// "#.000": the same with three decimals.
QString format_3dp(double value);
QString format_3dp(float value);

// Rounding to a whole number with halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4), as scroll ranges, zoom steps and sizes are rounded.
double round_half_even(double value);
// The same, as a 32-bit integer saturated at the type's range.
int round_to_int(double value);
