// SPDX-License-Identifier: MIT
// "hide lines" hides the cross-hair and the measuring lines and switches
// measuring off; m_state is kept while it is ticked.
#include "measure/hide_lines.h"

#include "form/F_main.h"
#include "measure/chain.h"
#include "measure/modes.h"

void Check_hideline_Click(F_main& f) {
    if (lines_hidden(f)) {
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
    restart_measuring(f);
}
