#pragma once
// Pointer input on the picture area: the measuring state machine.

#include "form/measuring_state.h"

class F_main;

void P_in_MouseDown(F_main& f, int button, float x, float y);
void P_in_MouseMove(F_main& f, float x, float y);
void P_in_DblClick(F_main& f);
