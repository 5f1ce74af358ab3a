// The three "hide" boxes of the result panel. They hide overlays only: the
// bar keeps being placed while hidden, and "hide lines" keeps m_state.
#include "form/F_main.h"
#include "measure/chain.h"
#include "measure/modes.h"
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

void Check_hideline_Click(F_main& f) {
    if (value(f.Check_hideline) == 1) {
        f.L_trace_x->hide();
        f.L_trace_y->hide();
        hide_markers(f);
        clear_segments(f);
        return;
    }
    f.L_trace_x->show();
    f.L_trace_y->show();
    hide_markers(f);
    clear_segments(f);
    // "free hand" keeps its state; the other modes start afresh.
    switch (measuring_mode(f)) {
    case MeasuringMode::single:
        reset_single_line(f);
        break;
    case MeasuringMode::chain:
        reset_multi_line(f);
        break;
    case MeasuringMode::free_hand:
        break;
    }
}
