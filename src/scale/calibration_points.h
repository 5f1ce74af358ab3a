// SPDX-License-Identifier: MIT
#pragma once
// The calibration as a pointer tool: while Command_set asks for a point, a
// press of any button places that end of Line_scale, whatever the measuring
// state and whether or not "hide lines" is ticked, and the measuring state is
// left alone; while the end point is awaited, moves drag it.

#include "form/pointer_tool.h"
#include "form/scale_room.h"

class CalibrationPoints : public PointerTool {
  public:
    explicit CalibrationPoints(const ScaleRoom& room) : room_(room) {}
    bool press(float x, float y) override;
    bool move(float x, float y) override;

  private:
    ScaleRoom room_;
};
