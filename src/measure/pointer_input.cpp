// SPDX-License-Identifier: MIT
#include "measure/pointer_input.h"
#include "measure/segment_length.h"

#include "form/check_value.h"
#include "form/measure_room.h"
#include "form/numbers.h"
#include "form/pointer_tool.h"
#include "measure/chain.h"
#include "measure/modes.h"
#include "measure/result_panel.h"
#include "measure/trace_colours.h"
#include "widgets/line_object.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

namespace {

// A finished measurement hands the keyboard to where the user goes on: the
// comment box when "comment focus" is ticked, the export button otherwise.
void hand_focus_on(const MeasureRoom& room) {
    if (value(room.Check_focus) == 0)
        room.Command_excel->setFocus();
    else
        room.Text_comment->setFocus();
}

// The start point of a single line: the line itself and its two guides.
void fix_start(const MeasureRoom& room, float x, float y) {
    room.pt_x = x;
    room.pt_y = y;
    room.L_d->set_points(x, y, x, y);
    room.L_x0->set_Y1(y);
    room.L_x0->set_Y2(y);
    room.L_y0->set_X1(x);
    room.L_y0->set_X2(x);
}

void fix_end_guides(const MeasureRoom& room, float x, float y) {
    room.L_x1->set_Y1(y);
    room.L_x1->set_Y2(y);
    room.L_x1->show();
    room.L_y1->set_X1(x);
    room.L_y1->set_X2(x);
    room.L_y1->show();
}

} // namespace

// The pointer protocol.
//
// A pointer tool (room.pointer_tool: the calibration while it waits for its
// points) takes a press first, whatever the state and whether or not "hide
// lines" is ticked; the state is then left alone. Otherwise, with "hide lines"
// ticked, a press does nothing. Else, by m_state:
//
//   state                      left press                        right press (undo)
//   0 single, no start         fix start, show L_d, guides -> 1  nothing, not even the colour
//   1 single, start fixed      fix end, red, hand focus -> 2     drop the start -> 0
//   2 single, both ends fixed  new start here -> 1               drop the end -> 1
//   3 chain open               append a point -> 3 (a full       drop the last point -> 3
//                              chain ignores it, says so)
//   5 chain closed             new chain from here -> 3          drop the last point -> 3
//
// Every measuring press but a right press in state 0 and the left press in
// state 1 turns the cross-hair grey. Other buttons do nothing.
//
// A move the pointer tool takes (the calibration stretching Line_scale to its
// end point) does nothing else; otherwise the cross-hair follows (unless "hide
// lines"), and in states 1 and 3 the live line follows and the results are
// written. A double-click arrives as one press followed by the double-click
// itself: in state 3 it closes the chain -> 5, red, hand focus. The press has
// already appended its point, so a closed chain ends with a zero-length element.
// The press handler never writes the results: they keep what the last move wrote.

namespace {

// What the press could not do, for the handler to say; empty when it did it.
QString left_press(const MeasureRoom& room, float x, float y, float z) {
    switch (room.m_state) {
    case MeasuringState::no_start:
        fix_start(room, x, y);
        room.L_d->show();
        room.L_x0->show();
        room.L_y0->show();
        set_trace_grey(room);
        span_guide_lines(room);
        room.m_state = MeasuringState::start_fixed;
        break;
    case MeasuringState::start_fixed:
        fix_end_guides(room, x, y);
        set_trace_red(room);
        span_guide_lines(room);
        room.m_state = MeasuringState::line_done;
        hand_focus_on(room);
        break;
    case MeasuringState::line_done:
        // A new line replaces the old one; L_d and the start guides stay shown.
        room.L_x1->hide();
        room.L_y1->hide();
        fix_start(room, x, y);
        set_trace_grey(room);
        span_guide_lines(room);
        room.m_state = MeasuringState::start_fixed;
        break;
    case MeasuringState::chain_open:
        if (chain_full(room))
            return QStringLiteral("The chain is full: it holds at most %1 points. "
                                  "Double-click to end it or right-click to undo.")
                .arg(chain_capacity);
        append_chain_point(room, x, y, z);
        set_trace_grey(room);
        break;
    case MeasuringState::chain_closed:
        restart_chain(room, x, y); // through reset_multi_line: state 3
        set_trace_grey(room);
        break;
    }
    return QString();
}

} // namespace

void take_back_point(const MeasureRoom& room) {
    switch (room.m_state) {
    case MeasuringState::no_start:
        break;
    case MeasuringState::start_fixed:
        room.m_state = MeasuringState::no_start;
        room.L_x0->hide();
        room.L_y0->hide();
        room.L_d->hide();
        set_trace_grey(room);
        break;
    case MeasuringState::line_done:
        // The live line comes back from the same start point.
        room.L_x1->hide();
        room.L_y1->hide();
        room.m_state = MeasuringState::start_fixed;
        set_trace_grey(room);
        break;
    case MeasuringState::chain_open:
        remove_chain_point(room);
        set_trace_grey(room);
        break;
    case MeasuringState::chain_closed:
        remove_chain_point(room);
        room.m_state = MeasuringState::chain_open;
        set_trace_grey(room);
        break;
    }
}

void P_in_MouseDown(const MeasureRoom& room, int button, float x, float y) {
    if (room.pointer_tool && room.pointer_tool->press(x, y)) return;
    if (lines_hidden(room)) return;
    const float z = room.zoom.factor();
    switch (button) {
    case 1:
        if (const QString refused = left_press(room, x, y, z); !refused.isEmpty())
            room.report(refused);
        break;
    case 2:
        take_back_point(room);
        break;
    default:
        break; // the middle button and any other never measure
    }
}

void P_in_MouseMove(const MeasureRoom& room, float x, float y) {
    if (room.pointer_tool && room.pointer_tool->move(x, y)) return;
    if (!lines_hidden(room)) {
        room.L_trace_x->set_Y1(y);
        room.L_trace_x->set_Y2(y);
        room.L_trace_y->set_X1(x);
        room.L_trace_y->set_X2(x);
    }
    const float z = room.zoom.factor();
    const float u = room.unit_per_px;

    switch (room.m_state) {
    case MeasuringState::start_fixed: {
        room.L_d->set_X2(x);
        room.L_d->set_Y2(y);
        const float dx = room.pt_x - x, dy = room.pt_y - y;
        const double length = segment_length(dx, dy);
        show_results(room, std::abs(dx) * u * z, std::abs(dy) * u * z,
                     static_cast<double>(u) * length * static_cast<double>(z));
        break;
    }
    case MeasuringState::chain_open: {
        // An empty chain has no live element: nothing follows the pointer.
        if (room.seg_count < 1) break;
        LineObject& live = *room.L_m[static_cast<std::size_t>(room.seg_count)];
        live.set_X2(x);
        live.set_Y2(y);
        const float dx = live.X1() - x, dy = live.Y1() - y;
        const double length = segment_length(dx, dy);
        show_results(room, std::abs(dx) * u * z + room.sum_x, std::abs(dy) * u * z + room.sum_y,
                     static_cast<double>(u) * length * static_cast<double>(z) + room.sum_d);
        break;
    }
    case MeasuringState::no_start:
    case MeasuringState::line_done:
    case MeasuringState::chain_closed:
        break; // only the cross-hair follows
    }
}

void P_in_DblClick(const MeasureRoom& room) {
    if (lines_hidden(room) || room.m_state != MeasuringState::chain_open) return;
    room.m_state = MeasuringState::chain_closed;
    set_trace_red(room);
    hand_focus_on(room);
}
