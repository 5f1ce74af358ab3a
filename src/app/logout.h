// SPDX-License-Identifier: MIT
#pragma once
// Logging out can end the program without anyone closing its window: a
// signal (SIGTERM at logout or shutdown, SIGHUP when its terminal closes,
// SIGINT for Ctrl+C there) closes the window as "Exit" does, so the workbook
// is saved or its rows go to a recovery workbook; and when the desktop asks
// the program to save its data before logging out, the workbook is saved at
// once.

class F_main;

void close_on_logout(F_main& f);

// The desktop's request before logging out: saves the open workbook's unsaved rows, into
// a recovery workbook when its file cannot take them. The window stays open.
void save_before_logout(F_main& f);
