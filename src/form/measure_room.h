// SPDX-License-Identifier: MIT
#pragma once
// Measuring's room: the elements and state the measuring handlers own or
// read, under the window's names, and nothing else of it. The window hands it
// out (F_main::measure_room); a room is a view into the window, made for each
// use or once at wiring, and what it may change its member types say
// (a pointer to const, a reference to const is read only), whatever the
// constness of the room itself.

#include "form/measuring_state.h"
#include "form/reporter.h"
#include "form/view_mapping.h"

#include <array>
#include <memory>
#include <vector>

class ClickLabel;
class LineObject;
class PictureBox;
class PointerTool;
class QCheckBox;
class QRadioButton;
class QWidget;

struct MeasureRoom {
    // The picture area: the measuring lines are its line objects, its size spans the guides.
    PictureBox* P_in;
    LineObject* L_trace_x; // the cross-hair
    LineObject* L_trace_y;
    LineObject* L_d; // the single line and its four guides
    LineObject* L_x0;
    LineObject* L_y0;
    LineObject* L_x1;
    LineObject* L_y1;
    std::vector<LineObject*>& L_m; // the chain
    ClickLabel* Lb_x;              // the results (form/results.h)
    ClickLabel* Lb_y;
    ClickLabel* Lb_d;
    // How measuring is set up: "hide lines" and the mode (form/measuring_mode.h).
    const QCheckBox* Check_hideline;
    std::array<const QRadioButton*, 3> Option_tracer;
    // Where a finished measurement hands the keyboard: the export button, or
    // the comment box while "comment focus" is ticked. Only focused.
    const QCheckBox* Check_focus;
    QWidget* Command_excel;
    QWidget* Text_comment;

    MeasuringState& m_state;
    float& pt_x;
    float& pt_y;
    qint32& seg_count;
    float& sum_x;
    float& sum_y;
    float& sum_d;
    const float& unit_per_px;
    const ViewMapping& zoom;
    // Installed by the calibration; takes presses and moves first.
    const std::unique_ptr<PointerTool>& pointer_tool;
    Reporter report;
};
