// SPDX-License-Identifier: MIT
#pragma once

struct MeasureRoom;

// Takes back the line that follows the pointer, as a right press would: the
// start of a single line, or the last point of an open chain. False when no
// line is being drawn (or "hide lines" is ticked).
bool cancel_line(const MeasureRoom& room);
