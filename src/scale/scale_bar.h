#pragma once
// The scale bar in the bottom-right corner of the visible picture.

class F_main;

void draw_scale_bar(F_main& f);
void Check_hidescale_Click(F_main& f);
void Check_hidedivisions_Click(F_main& f);
void Check_hideline_Click(F_main& f);
