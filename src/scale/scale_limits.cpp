// SPDX-License-Identifier: MIT
#include "scale/scale_limits.h"

#include <cmath>
#include <limits>

QString unusable_scale_reason(double value) {
    if (std::isnan(value)) return QStringLiteral("not a number");
    if (std::isinf(value)) return QStringLiteral("infinite");
    if (value == 0) return QStringLiteral("zero");
    const double magnitude = std::fabs(value);
    if (magnitude > double(largest_scale))
        return QStringLiteral("too large (above %1 units per pixel)").arg(double(largest_scale));
    // Judged after rounding to single precision: a double just above the
    // smallest normal single may still round below it.
    if (!std::isnormal(static_cast<float>(value)))
        return QStringLiteral("too close to zero (below %1 units per pixel)")
            .arg(double(std::numeric_limits<float>::min()));
    return QString();
}

std::optional<float> usable_scale(double value) {
    if (!unusable_scale_reason(value).isEmpty()) return std::nullopt;
    return static_cast<float>(value);
}
