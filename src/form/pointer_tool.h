// SPDX-License-Identifier: MIT
#pragma once
// A tool that the picture area's pointer handling hands presses and moves to
// before measuring sees them. The calibration is one: while it waits for the
// ends of its reference line, the presses are its own. Measuring knows no
// more of it than this; the tool holds the view of the window it works on.

class PointerTool {
  public:
    virtual ~PointerTool() = default;
    // True when the tool took the press (of any button) at (x, y), P_in pixels.
    virtual bool press(float x, float y) = 0;
    // True when the tool took the move; the cross-hair then stays put.
    virtual bool move(float x, float y) = 0;
};
