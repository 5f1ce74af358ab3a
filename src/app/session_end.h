// SPDX-License-Identifier: MIT
#pragma once
// The desktop session can end the program without anyone closing its window:
// a signal (SIGTERM at logout or shutdown, SIGHUP when its terminal closes,
// SIGINT for Ctrl+C there) closes the window as "Exit" does, so the workbook
// is saved or its rows go to a recovery workbook; and when the session
// manager asks the program to save its data, the workbook is saved at once.

class F_main;

void end_with_session(F_main& f);

// The session manager's request: saves the open workbook's unsaved rows, into
// a recovery workbook when its file cannot take them. The window stays open.
void save_for_session(F_main& f);
