// SPDX-License-Identifier: MIT
#pragma once
// Connects the program's own elements (the window's resize, Exit, the Info
// menu, the version panel) to their handlers.

class F_main;

void wire_app(F_main& f);
