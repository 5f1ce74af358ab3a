#pragma once
// Zoom from 10% to 510% in steps of 10. The caption of L_zval is the one
// place that holds it.

class F_main;

void L_in_Click(F_main& f);
void L_out_Click(F_main& f);
void L_even_Click(F_main& f);
// Shows the picture of pic_path at the zoom caption's percentage. False, with
// the view unchanged and the reason in the status bar, when it cannot be read.
bool render_at_zoom(F_main& f);
// Clears the measurement after the picture was shown anew (not while "hide lines").
void reset_for_mode(F_main& f);
// The zoom caption's number ("100%" gives 100).
double zoom_percent(const F_main& f);
