// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include "app/startup.h"
#include "app/tooltips.h"
#include "measure/wiring.h"
#include "output/wiring.h"
#include "scale/wiring.h"
#include "view/wiring.h"

std::unique_ptr<F_main> make_main_window(FileDialogs& dialogs, SpreadsheetFactory spreadsheets,
                                         SystemEnding ending) {
    auto f = std::make_unique<F_main>(dialogs, std::move(spreadsheets));
    F_main& w = *f;
    // Each folder wires its own elements, here and nowhere else, before
    // start-up, so a selection made by start-up raises its handler as a click
    // would. The order counts: what follows the pointer in view sees each
    // move after measuring has taken it, and the program's View > Results
    // goes into the menu view makes.
    wire_measure(w);
    wire_scale(w);
    wire_view(w);
    wire_output(w);
    wire_app(w, ending);
    set_tooltips(w);
    F_main_Load(w);
    return f;
}
