// SPDX-License-Identifier: MIT
#pragma once

struct ScaleRoom;

// Leaves a calibration that waits for its points ("point start" or "point
// end"): Line_scale is hidden, Command_set reads "set kelvo" again and the
// scale stays as it was. False when no calibration waited for a point.
bool cancel_calibration(const ScaleRoom& room);
