// Procedures of this folder still being built.
#include "measure/chain.h"
#include "measure/modes.h"
#include "shell/wiring.h"

void wire_measure(F_main&) {}
void hide_markers(F_main&) {}
void reset_single_line(F_main&) {}
void set_trace_grey(F_main&) {}
void set_trace_red(F_main&) {}
void set_trace_green(F_main&) {}
void span_guide_lines(F_main&) {}
void clear_segments(F_main&) {}
void reset_multi_line(F_main&) {}
