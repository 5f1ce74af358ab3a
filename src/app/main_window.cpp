// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include "app/drop.h"
#include "app/results_control.h"
#include "app/shortcuts.h"
#include "app/startup.h"
#include "app/tooltips.h"
#include "app/unload.h"
#include "app/wiring.h"
#include "measure/wiring.h"
#include "output/wiring.h"
#include "scale/wiring.h"
#include "view/magnifier_control.h"
#include "view/pointer_place.h"
#include "view/pointer_readout.h"
#include "view/recent_menu.h"
#include "view/wiring.h"

std::unique_ptr<F_main> make_main_window(FileDialogs& dialogs, SpreadsheetFactory spreadsheets) {
    auto f = std::make_unique<F_main>(dialogs, std::move(spreadsheets));
    F_main& w = *f;
    // Wired before start-up, so a selection made by start-up raises its
    // handler as a click would.
    wire_app(w);
    wire_view(w);
    wire_measure(w);
    wire_scale(w);
    wire_output(w);
    wire_drop(w);
    wire_shortcuts(w);
    wire_recent_menu(w);
    // After the measuring handlers: what follows the pointer besides them.
    auto* place = new PointerPlace(w);
    wire_pointer_readout(w, *place);
    wire_magnifier(w, *place);
    wire_results(w);
    set_tooltips(w);
    w.on_unload = [&w](int& cancel) { F_main_Unload(w, cancel); };
    F_main_Load(w);
    return f;
}
