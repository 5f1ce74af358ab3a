// "hide lines" hides the cross-hair and the measuring lines and switches
// measuring off; m_state is kept while it is ticked.
#include "measure/hide_lines.h"

#include "form/F_main.h"
#include "measure/chain.h"
#include "measure/modes.h"

#include <QCheckBox>
#include <QRadioButton>

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
