// SPDX-License-Identifier: MIT
#pragma once
// Files dragged onto the main window: a picture opens as "Open picture" opens
// it, a scale definition file (.kvo) loads as "Open scale defi" loads it.
// Anything else is refused as it enters the window, and the status bar says
// why.

class F_main;

void accept_drops(F_main& f);
