#pragma once
// Keys that scroll the picture, as its scroll bars do:
//   PageUp, PageDown      a page step up or down (Shift: left or right)
//   Home, End             to the top or bottom edge (Shift: left or right)
//   arrow keys            an arrow step in their direction
// Text boxes and option buttons keep these keys: a text box moves its cursor
// with them, the arrows move the selection among option buttons (and along
// the menu bar while it is worked with the keyboard).

class F_main;

void wire_scroll_keys(F_main& f);
