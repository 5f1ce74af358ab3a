#pragma once
// Each subsystem connects the events of the elements it handles to its
// handlers; the main window calls these once, before start-up.

class F_main;

void wire_shell(F_main& f);
void wire_view(F_main& f);
void wire_measure(F_main& f);
void wire_scale(F_main& f);
void wire_output(F_main& f);
