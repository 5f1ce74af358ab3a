// SPDX-License-Identifier: MIT
#pragma once
// Keys that scroll the picture, through its scroll bars:
//   PageUp, PageDown      the viewport's height up or down (Shift: its width,
//                         left or right)
//   Home, End             to the top or bottom edge (Shift: left or right)
//   arrow keys            a tenth of the viewport, as a notch of the wheel
// Text boxes and option buttons keep these keys: a text box moves its cursor
// with them, the arrows move the selection among option buttons (and along
// the menu bar while it is worked with the keyboard).

struct ViewRoom;

void add_scroll_keys(const ViewRoom& room);
