// SPDX-License-Identifier: MIT
// "hide scale" and "hide division". They hide overlays only: the bar keeps
// being placed while hidden.
#include "scale/scale_bar.h"

#include "form/check_value.h"
#include "form/scale_room.h"
#include "widgets/click_label.h"
#include "widgets/line_object.h"

#include <QCheckBox>

void Check_hidescale_Click(const ScaleRoom& room) {
    if (value(room.Check_hidescale) == 1) {
        room.Line_ax0->hide();
        room.Line_ax1->hide();
        room.Line_eq->hide();
        room.L_div->hide();
        room.Check_hidedivisions->setEnabled(false);
        return;
    }
    room.Line_ax0->show();
    room.Line_ax1->show();
    room.Line_eq->show();
    room.Check_hidedivisions->setEnabled(true);
    if (value(room.Check_hidedivisions) == 0) room.L_div->show();
    draw_scale_bar(room);
}

void Check_hidedivisions_Click(const ScaleRoom& room) {
    if (value(room.Check_hidedivisions) == 1) {
        room.L_div->hide();
        return;
    }
    room.L_div->show();
    draw_scale_bar(room);
}
