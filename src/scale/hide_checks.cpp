// SPDX-License-Identifier: MIT
// "hide scale" and "hide division". They hide overlays only: the bar keeps
// being placed while hidden.
#include "form/F_main.h"
#include "scale/scale_bar.h"

#include <QCheckBox>
#include <QRadioButton>

void Check_hidescale_Click(F_main& f) {
    if (value(f.Check_hidescale) == 1) {
        f.Line_ax0->hide();
        f.Line_ax1->hide();
        f.Line_eq->hide();
        f.L_div->hide();
        f.Check_hidedivisions->setEnabled(false);
        return;
    }
    f.Line_ax0->show();
    f.Line_ax1->show();
    f.Line_eq->show();
    f.Check_hidedivisions->setEnabled(true);
    if (value(f.Check_hidedivisions) == 0) f.L_div->show();
    draw_scale_bar(f);
}

void Check_hidedivisions_Click(F_main& f) {
    if (value(f.Check_hidedivisions) == 1) {
        f.L_div->hide();
        return;
    }
    f.L_div->show();
    draw_scale_bar(f);
}
