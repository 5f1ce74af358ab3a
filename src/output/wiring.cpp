// SPDX-License-Identifier: MIT
#include "output/wiring.h"

#include "output/picture_export.h"
#include "output/spreadsheet_export.h"

void wire_output(F_main& f) {
    wire_picture_export(f);
    wire_spreadsheet_export(f);
}
