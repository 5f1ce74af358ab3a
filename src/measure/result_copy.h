// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct MeasureRoom;

// The result as shown, "X<TAB>Y<TAB>D" (".50\t1.00\t1.12"), ready to paste
// into a spreadsheet row.
QString result_text(const MeasureRoom& room);
// Puts result_text on the clipboard and says so.
void copy_result(const MeasureRoom& room);
