// SPDX-License-Identifier: MIT
// "hide lines" hides the cross-hair and the measuring lines and switches
// measuring off; m_state is kept while it is ticked.
#include "measure/hide_lines.h"

#include "form/measure_room.h"
#include "measure/chain.h"
#include "measure/modes.h"
#include "widgets/line_object.h"

void Check_hideline_Click(const MeasureRoom& room) {
    const bool hidden = lines_hidden(room);
    room.L_trace_x->set_visible(!hidden);
    room.L_trace_y->set_visible(!hidden);
    hide_markers(room);
    clear_segments(room);
    // Shown again: "free hand" keeps its state; the other modes start afresh.
    if (!hidden) restart_measuring(room);
}
