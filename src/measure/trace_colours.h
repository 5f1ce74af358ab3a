// SPDX-License-Identifier: MIT
#pragma once
// The cross-hair's colour tells where a measurement stands.

struct MeasureRoom;

void set_trace_grey(const MeasureRoom& room);  // measuring
void set_trace_red(const MeasureRoom& room);   // a measurement ended
void set_trace_green(const MeasureRoom& room); // its row was written
