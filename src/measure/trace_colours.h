// SPDX-License-Identifier: MIT
#pragma once
// The cross-hair's colour tells where a measurement stands.

class F_main;

void set_trace_grey(F_main& f);  // measuring
void set_trace_red(F_main& f);   // a measurement ended
void set_trace_green(F_main& f); // its row was written
