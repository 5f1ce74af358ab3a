// SPDX-License-Identifier: MIT
#pragma once
// How a scroll bar fits a picture area that may be larger than the viewport.

// One bar's settings: enabled while the picture area exceeds the viewport,
// the maximum the hidden length, an arrow step of a twentieth and a page step
// of a fifth of it (the maximum itself while below 20 or 5, and at least 1),
// and the value that keeps the view at the same relative position.
struct ScrollFit {
    bool enabled = false;
    int maximum = 0;
    int arrow_step = 1;
    int page_step = 1;
    int value = 0;
};

// `shown` and `viewport` are the lengths of the picture area and of the
// viewport; `was_value` of `was_maximum` the position before (0 of 1 for a
// bar that was disabled). Steps and value are rounded halves to even; a
// remembered maximum of 0 counts as the start, never as a divisor.
ScrollFit fit_scroll_bar(int shown, int viewport, int was_value, int was_maximum);
