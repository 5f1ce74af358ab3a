// SPDX-License-Identifier: MIT
#pragma once
// The results X, Y and D. The panel's value labels Lb_x, Lb_y, Lb_d hold
// them, as the "#.00" texts the user reads and with the red marks the user
// sets; those labels are the only place they are kept. They are read and
// written here only.

#include "platform/colour.h"

#include <QString>
#include <array>

struct MeasureRoom;

struct ShownResult {
    QString text; // "#.00"
    Colour mark;  // the label's colour: red, black, or the system's text colour
};
// X, Y and D, in that order.
std::array<ShownResult, 3> shown_results(const MeasureRoom& room);
void set_result_texts(const MeasureRoom& room, const QString& x, const QString& y,
                      const QString& d);
