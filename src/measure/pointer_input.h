// SPDX-License-Identifier: MIT
#pragma once
// Pointer input on the picture area: the measuring state machine.

#include "form/measuring_state.h"

class F_main;

void P_in_MouseDown(F_main& f, int button, float x, float y);
void P_in_MouseMove(F_main& f, float x, float y);
void P_in_DblClick(F_main& f);
// What a right press on the picture does: takes back the last fixed point
// (the start of a single line, the last point of a chain).
void take_back_point(F_main& f);
