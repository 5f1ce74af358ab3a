// SPDX-License-Identifier: MIT
#pragma once
// The length of a line from its extent in x and y, in double precision from
// single-precision extents. The live results, the chain's totals and the
// calibration's reference line all take it from here, so a total recomputed
// after an undo lands on the value once shown, bit for bit.

#include <cmath>

inline double segment_length(float dx, float dy) {
    return std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
}
