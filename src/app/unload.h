// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// Runs however the main window closes: the open workbook is saved and closed
// (its rows rescued to a recovery workbook when its own file cannot take
// them), a left-over temporary workbook of older versions is deleted, and the
// tutorial window goes with the main window. Sets cancel to 1, once per run,
// when the rows could be kept nowhere: the window then stays open.
void F_main_Unload(F_main& f, int& cancel);
