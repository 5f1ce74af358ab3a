// SPDX-License-Identifier: MIT
#include "view/zoom_anchor.h"

#include "form/numbers.h"

#include <algorithm>

// The point under the pointer lies (pointer + old_value) pixels into the old
// picture area. The sizes of the areas, not the two zoom percentages, give
// the ratio, so the whole-pixel rounding of each size is taken into account.
int anchored_scroll_value(double pointer, int old_value, int old_size, int new_size, int maximum) {
    if (maximum <= 0) return 0;
    if (old_size <= 0) return 0;
    const double into = (pointer + old_value) * double(new_size) / double(old_size);
    return std::clamp(round_to_int(into - pointer), 0, maximum);
}
