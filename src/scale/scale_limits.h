// SPDX-License-Identifier: MIT
#pragma once
// The scales the program accepts for unit_per_px. Every result is a pixel
// distance multiplied by the scale in single precision, and results are
// converted to a new scale by dividing by the old one, so a stored scale must
// be a normal single-precision number (not 0, not infinite, not so small that
// its reciprocal overflows) and small enough that no result overflows.

#include <QString>
#include <optional>

// The longest line a picture the program opens can hold is under 3e8 picture
// pixels; at this many units per pixel its length still fits a single.
inline constexpr float largest_scale = 1e30f;

// Why `value` cannot be stored as the scale, as a phrase that completes "a
// scale that is ..." ("zero", "infinite", ...); empty when it can. Negative
// scales are accepted: they only turn the results negative.
QString unusable_scale_reason(double value);

// `value` as the stored single-precision scale, or nothing when it is unusable.
std::optional<float> usable_scale(double value);
