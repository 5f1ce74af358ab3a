// SPDX-License-Identifier: MIT
#pragma once
// The results as the panel shows them, and their red marks.

struct MeasureRoom;
class ClickLabel;

// Writes X, Y and D into Lb_x, Lb_y, Lb_d as "#.00". X and Y are single
// precision, D double, as the handlers compute them.
void show_results(const MeasureRoom& room, float x, float y, double d);
// Rewrites Lb_x, Lb_y, Lb_d for a new scale: each caption's number times
// new_scale / old_scale, formatted "#.00".
void convert_results(const MeasureRoom& room, float old_scale, float new_scale);

// Click on a result's value or caption label: toggles the red mark, which the
// value label holds and the caption label follows.
void toggle_result_mark(ClickLabel* value_label, ClickLabel* caption_label);
