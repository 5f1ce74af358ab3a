// SPDX-License-Identifier: MIT
#pragma once
// Connects the events of the elements view handles to its handlers, and adds
// its own: File > Next picture (Ctrl+PageDown), Previous picture
// (Ctrl+PageUp) and Open recent; the zoom keys (Ctrl++ and Ctrl+= "in",
// Ctrl+- "out", Ctrl+0 "1/1"; with "zoom lock" ticked they say so in the
// status line); the scroll keys (view/scroll_keys.h); the View menu with the
// magnifier (M); the pointer readout. Open picture takes Ctrl+O. The program
// calls it once, before start-up, after measure's and scale's, whose doors the
// view's room holds (app/main_window.cpp).

class F_main;

void wire_view(F_main& f);
