// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// The load handler: sets the start-up state of every element and variable,
// before the window is first shown.
void F_main_Load(F_main& f);
