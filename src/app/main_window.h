// SPDX-License-Identifier: MIT
#pragma once
// The main window as the program runs it: built, every subsystem wired to its
// elements, the start-up sequence run, and the unload procedure installed as
// the window's close hook. The program, the tests, the benchmarks and the
// fuzz targets all make it here.

#include "app/wiring.h"
#include "form/F_main.h"

#include <memory>

// `dialogs` must outlive the window.
// Only the program's window answers the system's requests to end.
std::unique_ptr<F_main> make_main_window(FileDialogs& dialogs, SpreadsheetFactory spreadsheets,
                                         SystemEnding ending = SystemEnding::left_alone);
