// SPDX-License-Identifier: MIT
// The window hands out its rooms: each names, from the inventory, what one
// subsystem owns or reads.
#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/output_room.h"
#include "form/scale_room.h"
#include "form/view_room.h"

#include <QCheckBox>
#include <QFrame>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

MeasureRoom F_main::measure_room() {
    return MeasureRoom{
        .P_in = P_in,
        .L_trace_x = L_trace_x,
        .L_trace_y = L_trace_y,
        .L_d = L_d,
        .L_x0 = L_x0,
        .L_y0 = L_y0,
        .L_x1 = L_x1,
        .L_y1 = L_y1,
        .L_m = L_m,
        .Lb_x = Lb_x,
        .Lb_y = Lb_y,
        .Lb_d = Lb_d,
        .Check_hideline = Check_hideline,
        .Option_tracer = {Option_tracer[0], Option_tracer[1], Option_tracer[2]},
        .Check_focus = Check_focus,
        .Command_excel = Command_excel,
        .Text_comment = Text_comment,
        .m_state = m_state,
        .pt_x = pt_x,
        .pt_y = pt_y,
        .seg_count = seg_count,
        .sum_x = sum_x,
        .sum_y = sum_y,
        .sum_d = sum_d,
        .unit_per_px = unit_per_px,
        .zoom = zoom,
        .pointer_tool = pointer_tool,
        .report = Reporter(*this),
    };
}

ScaleRoom F_main::scale_room() {
    return ScaleRoom{
        .Command_set = Command_set,
        .Text_scale = Text_scale,
        .Line_scale = Line_scale,
        .Line_ax0 = Line_ax0,
        .Line_ax1 = Line_ax1,
        .Line_eq = Line_eq,
        .L_div = L_div,
        .Check_hidescale = Check_hidescale,
        .Check_hidedivisions = Check_hidedivisions,
        .Frm_result = Frm_result,
        .P_in = P_in,
        .P_out = P_out,
        .HS_main = HS_main,
        .VS_main = VS_main,
        .unit_per_px = unit_per_px,
        .zoom = zoom,
        .measuring = *measuring_door,
        .dialogs = FileAsking(*this),
        .report = Reporter(*this),
    };
}

OutputRoom F_main::output_room() {
    return OutputRoom{
        .pic_path = pic_path,
        .P_in = P_in,
        .P_sub = P_sub,
        .Text_comment = Text_comment,
        .Check_lock = Check_lock,
        .recovered_workbooks = recovered_workbooks,
        .workbook = *workbook,
        .close_refused = close_refused,
        .measuring = *measuring_door,
        .scale = *scale_door,
        .dialogs = FileAsking(*this),
        .report = Reporter(*this),
    };
}

ViewRoom F_main::view_room() {
    return ViewRoom{
        .window = this,
        .P_in = P_in,
        .P_out = P_out,
        .HS_main = HS_main,
        .VS_main = VS_main,
        .Check_zlock = Check_zlock,
        .L_zval = L_zval,
        .ff = ff,
        .pic_path = pic_path,
        .zoom = zoom,
        .full_picture = full_picture,
        .full_picture_file = full_picture_file,
        .smaller_picture = smaller_picture,
        .spare_memory = spare_memory,
        .measuring = *measuring_door,
        .scale = *scale_door,
        .dialogs = FileAsking(*this),
        .report = Reporter(*this),
    };
}
