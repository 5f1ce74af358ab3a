// SPDX-License-Identifier: MIT
#pragma once
// How the result panel sets measuring up: the mode, as the selected
// Option_tracer shows it, and "hide lines", which switches measuring off.
// Read and set them only here.

class F_main;
struct MeasureRoom;

enum class MeasuringMode {
    single,    // Option_tracer[0] "single line"
    chain,     // Option_tracer[1] "multi lines"
    free_hand, // Option_tracer[2] "free hand": measures nothing
};
MeasuringMode measuring_mode(const F_main& f);
MeasuringMode measuring_mode(const MeasureRoom& room);
// Selects the mode's option; its handler runs as for a click.
void set_measuring_mode(F_main& f, MeasuringMode mode);

// True while "hide lines" is ticked: no cross-hair, no measuring lines, and
// the picture takes no measuring presses.
bool lines_hidden(const F_main& f);
bool lines_hidden(const MeasureRoom& room);
