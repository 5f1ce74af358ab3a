// SPDX-License-Identifier: MIT
#pragma once
// Logging out can end the program without anyone closing its window: a
// signal (SIGTERM at logout or shutdown, SIGHUP when its terminal closes,
// SIGINT for Ctrl+C there) closes the window as "Exit" does, so the workbook
// is saved or its rows go to a recovery workbook; and when the desktop asks
// the program to save its data before logging out, the workbook is saved at
// once.

class F_main;

// The desktop's request before logging out is answered by
// save_workbook_before_logout (output/spreadsheet_export).
void close_on_logout(F_main& f);
