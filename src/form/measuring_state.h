// SPDX-License-Identifier: MIT
#pragma once
// The states of the pointer state machine (measure/pointer_input.cpp), held in
// F_main::m_state. The codes are the program's own numbers for them; no other
// code occurs, and every switch over a state names them all.

#include <QtGlobal>

enum class MeasuringState : quint8 {
    no_start = 0,     // single line, no start point
    start_fixed = 1,  // single line, its end follows the pointer
    line_done = 2,    // single line, both ends fixed
    chain_open = 3,   // chain, its last element follows the pointer
    chain_closed = 5, // chain ended by a double-click
};
