// SPDX-License-Identifier: MIT
#pragma once
// Keys that act anywhere in the main window:
//   Ctrl++ and Ctrl+=   "in"          Ctrl+-   "out"          Ctrl+0   "1/1"
//   Escape              cancels the line being drawn or a calibration that
//                       waits for its points
//   Ctrl+C              copies the result "X<TAB>Y<TAB>D" (a text box with
//                       the focus copies its own text instead)
//   Ctrl+O, Ctrl+Q, F1  "Open picture", "Exit", "Tutorial"
//   the scrolling keys of view/scroll_keys.h
// With "zoom lock" ticked the zoom keys say so in the status line.

class F_main;

void wire_shortcuts(F_main& f);
// What Escape does; says in the status bar what was cancelled.
void cancel_current(F_main& f);
