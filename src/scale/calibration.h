#pragma once
// Calibration: a reference line of known length sets unit_per_px.

class F_main;

void Command_set_Click(F_main& f);
void Text_scale_KeyPress(F_main& f, int& key_ascii);
void apply_scale(F_main& f);
// Rewrites Lb_x, Lb_y, Lb_d for a new scale: each caption's number times
// new_scale / old_scale, formatted "#.00".
void convert_results(F_main& f, float old_scale, float new_scale);

// Units per picture pixel for a reference line `line_px` shown pixels long at
// `zoom` percent that stands for `typed_length` units; not yet checked for use.
double calibrated_scale(double typed_length, float line_px, double zoom);
