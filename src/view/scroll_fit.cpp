// SPDX-License-Identifier: MIT
#include "view/scroll_fit.h"

#include "form/numbers.h"

#include <algorithm>

namespace {
int step(int maximum, int parts) {
    const int s = maximum >= parts ? round_to_int(maximum / double(parts)) : maximum;
    return std::max(1, s);
}
} // namespace

ScrollFit fit_scroll_bar(int shown, int viewport, int was_value, int was_maximum) {
    ScrollFit fit;
    if (shown <= viewport) return fit;
    fit.enabled = true;
    fit.maximum = round_to_int(double(shown) - double(viewport));
    fit.arrow_step = step(fit.maximum, 20);
    fit.page_step = step(fit.maximum, 5);
    const double position = was_maximum > 0 ? double(was_value) / double(was_maximum) : 0.0;
    fit.value = std::clamp(round_to_int(position * fit.maximum), 0, fit.maximum);
    return fit;
}
