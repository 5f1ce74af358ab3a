// SPDX-License-Identifier: MIT
#pragma once
// Connects the program's own elements and what ties the subsystems together:
// the window's resize, File > Exit (Ctrl+Q) and Open workbook, View >
// Results (Ctrl+R), the Info menu (Tutorial: F1) and the version panel,
// Escape, dropped files, the close hook and, for the program's window, the
// signals and the desktop's request that end it (app/logout.h). The last to
// be wired: the results item goes into view's View menu.

class F_main;

// Whether the window answers the system's requests to end (SIGTERM, SIGHUP,
// SIGINT, the desktop's save request before logging out): the program's
// window does; the windows of tests and benchmarks leave the process's
// signals as they are.
enum class SystemEnding { answered, left_alone };

void wire_app(F_main& f, SystemEnding ending);
