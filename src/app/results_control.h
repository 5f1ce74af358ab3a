// SPDX-License-Identifier: MIT
#pragma once
// View > Results (Ctrl+R): the rows this window wrote, in a tool window that
// follows each new row (widgets/results_window). File > Open workbook opens
// the workbook in the desktop's spreadsheet program, as the window's button
// does; with no workbook open it says so.

class F_main;

// After the View menu exists (view/wiring.h).
void add_results_window(F_main& f);
// File > Open workbook, and the results window's button.
void open_workbook_in_desktop(F_main& f);
