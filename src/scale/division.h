// SPDX-License-Identifier: MIT
#pragma once
// Choosing the scale bar's division: the round real length (1, 2 or 5 times a
// power of ten) whose bar fits between a tenth and seven tenths of the
// visible width. Pure functions, so the choice can be checked in a table.

#include <QString>
#include <optional>

struct Division {
    float value = 0;  // the real length the bar stands for, m × 10^exponent
    int exponent = 0; // from -5 to 5
    float length = 0; // the bar's length in shown pixels
};

// The first candidate that fits, trying m = 1, 2, 5 and for each the exponents
// -5 to 5 in ascending order; nothing when none fits (a negative scale, a
// picture too narrow, a scale outside the range of the candidates).
// `zoom` is the zoom percentage, `visible_width` the width the bar must fit.
std::optional<Division> choose_division(double zoom, float unit_per_px, double visible_width);

// The label under the bar: a whole number for exponents 1 and up, "#.000" below.
QString division_caption(const Division& division);
