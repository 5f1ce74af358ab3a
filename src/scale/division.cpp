// SPDX-License-Identifier: MIT
#include "scale/division.h"

#include "form/numbers.h"
#include "form/view_mapping.h"

#include <cmath>
#include <limits>

namespace {
// Rounds to single precision; a value beyond its range becomes infinite, where
// a plain cast would leave the result undefined.
float single(double value) {
    if (std::fabs(value) > double(std::numeric_limits<float>::max()) && std::isfinite(value))
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}
} // namespace

std::optional<Division> choose_division(double zoom, float unit_per_px, double visible_width) {
    // Units per shown pixel, and the window, are held in single precision: a
    // candidate that lands exactly on either end of the window must count.
    const float units_per_shown_px = single(ViewMapping{zoom}.to_picture(1.0) * unit_per_px);
    const double width = round_half_even(visible_width);
    const float lo = single(width * 0.1);
    const float hi = single(width * 0.7);
    for (const int m : {1, 2, 5}) {
        for (int i = -5; i <= 5; ++i) {
            const double power = std::pow(10.0, i);
            const float one = single(power / units_per_shown_px);
            const float length = single(double(one) * m);
            if (lo <= length && length <= hi)
                return Division{static_cast<float>(m * power), i, length};
        }
    }
    return std::nullopt;
}

QString division_caption(const Division& division) {
    if (division.exponent >= 1)
        return QString::number(static_cast<qint64>(std::llround(division.value)));
    return format_3dp(division.value);
}
