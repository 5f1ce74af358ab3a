#pragma once
// The scale definition file (.kvo): the scale and nothing else.

class F_main;

void save_scale_defi(F_main& f); // "Save scale defi"
void open_scale_defi(F_main& f); // "Open scale defi"
