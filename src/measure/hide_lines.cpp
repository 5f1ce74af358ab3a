// SPDX-License-Identifier: MIT
// "hide lines" hides the cross-hair and the measuring lines and switches
// measuring off; m_state is kept while it is ticked.
#include "measure/hide_lines.h"

#include "form/F_main.h"
#include "measure/chain.h"
#include "measure/modes.h"

void Check_hideline_Click(F_main& f) {
    const bool hidden = lines_hidden(f);
    f.L_trace_x->set_visible(!hidden);
    f.L_trace_y->set_visible(!hidden);
    hide_markers(f);
    clear_segments(f);
    // Shown again: "free hand" keeps its state; the other modes start afresh.
    if (!hidden) restart_measuring(f);
}
