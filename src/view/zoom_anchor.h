// SPDX-License-Identifier: MIT
#pragma once
// Zooming around a point of the viewport: the picture point under it before a
// zoom step stays under it after the step, as far as the scroll range allows.

// The scroll value that keeps the picture point at `pointer` (viewport pixels
// along one axis) in place when the picture area grows from `old_size` to
// `new_size` pixels along that axis, scrolled by `old_value` before. Clamped
// to 0..`maximum`.
int anchored_scroll_value(double pointer, int old_value, int old_size, int new_size, int maximum);
