// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// Places the viewport, the scroll bars and the panel from the client area's
// size, centres the version panel, and refreshes what depends on the viewport.
void lay_out_window(F_main& f);
