// SPDX-License-Identifier: MIT
#pragma once
// Pointer input on the picture area: the measuring state machine.

#include "form/measuring_state.h"

struct MeasureRoom;

void P_in_MouseDown(const MeasureRoom& room, int button, float x, float y);
void P_in_MouseMove(const MeasureRoom& room, float x, float y);
void P_in_DblClick(const MeasureRoom& room);
// What a right press on the picture does: takes back the last fixed point
// (the start of a single line, the last point of a chain).
void take_back_point(const MeasureRoom& room);
