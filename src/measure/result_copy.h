// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class F_main;

// The result as shown, "X<TAB>Y<TAB>D" (".50\t1.00\t1.12"), ready to paste
// into a spreadsheet row.
QString result_text(const F_main& f);
// Puts result_text on the clipboard and says so.
void copy_result(F_main& f);
