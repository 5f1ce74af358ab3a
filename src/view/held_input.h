// SPDX-License-Identifier: MIT
#pragma once
// The window's input held while a picture is being opened, and handed on in
// order once the open has completed or been refused. A click or a key meant
// for the new picture must neither be lost nor act on a window that shows the
// new picture's first screenful over the old one's state.
//
// Held: button presses and releases, double-clicks, the wheel and keys on
// any of the window's elements (menu bar included), and closing the window.
// Not held: the keys of the actions that open another picture (Ctrl+O,
// Ctrl+PageDown, Ctrl+PageUp), so a new open cancels the one under way;
// drops; pointer moves (the pointer's place is looked at again when the
// picture is shown); the dialogs' and open menus' own input.
//
// A held press goes, when handed on, to the element under the pointer's place
// on the screen then: a quick click on the first screenful lands on the same
// point of the new picture once it is open.

#include "form/view_room.h"

class QWidget;

// Holds the input of the main window `window` until as many release_input
// calls as hold_input calls have been made; the last one hands the held
// input on.
void hold_input(QWidget* window);
void release_input(QWidget* window);

// Holds the window's input while it lives.
class InputHeld {
  public:
    explicit InputHeld(const ViewRoom& room) : window_(room.window) { hold_input(window_); }
    ~InputHeld() { release_input(window_); }
    InputHeld(const InputHeld&) = delete;
    InputHeld& operator=(const InputHeld&) = delete;

  private:
    QWidget* window_;
};
