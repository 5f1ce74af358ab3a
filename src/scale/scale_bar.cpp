// SPDX-License-Identifier: MIT
#include "scale/scale_bar.h"

#include "form/check_value.h"
#include "form/numbers.h"
#include "form/scale_room.h"
#include "scale/division.h"
#include "widgets/click_label.h"
#include "widgets/line_object.h"
#include "widgets/picture_box.h"
#include "widgets/scroll_bar.h"

#include <QCheckBox>
#include <QScrollBar>

// The bar lives inside P_in, so it scrolls with the picture: after every
// change of scale, zoom, scroll position or size it is put back into the
// bottom-right corner of what the viewport shows.
void draw_scale_bar(const ScaleRoom& room) {
    // "hide division" freezes the bar: it keeps its last place and length.
    if (value(room.Check_hidedivisions) == 1) return;

    // A scroll bar is enabled exactly when the picture exceeds the viewport
    // that way; otherwise the picture's own edge is the visible edge.
    const bool h_scroll = scroll_bar_enabled(room.HS_main);
    const bool v_scroll = scroll_bar_enabled(room.VS_main);
    const QRect viewport = room.P_out->contentsRect();
    const double visible_width = h_scroll ? viewport.width() : room.P_in->width();

    const std::optional<Division> division =
        choose_division(room.zoom.percent, room.unit_per_px, visible_width);
    if (!division) return;

    const float right = h_scroll ? float(room.HS_main->value() + viewport.width() - 10)
                                 : float(room.P_in->width() - 10);
    room.Line_ax1->set_X1(right);
    room.Line_ax1->set_X2(right);
    room.Line_ax0->set_X1(right - division->length);
    room.Line_ax0->set_X2(room.Line_ax0->X1());
    room.Line_eq->set_X1(room.Line_ax0->X1());
    room.Line_eq->set_X2(room.Line_ax1->X1());

    const float top = v_scroll ? float(room.VS_main->value() + viewport.height() - 20)
                               : float(room.P_in->height() - 20);
    room.Line_ax1->set_Y2(top);
    room.Line_ax1->set_Y1(top + 5);
    room.Line_ax0->set_Y2(top);
    room.Line_ax0->set_Y1(top + 5);
    room.Line_eq->set_Y1(top + 4);
    room.Line_eq->set_Y2(room.Line_eq->Y1());

    // The label stays as it is while "hide scale" has disabled "hide division".
    if (!room.Check_hidedivisions->isEnabledTo(room.Frm_result) ||
        value(room.Check_hidedivisions) != 0)
        return;
    room.L_div->setText(division_caption(*division));
    room.L_div->set_fore_colour(scale_bar_grey);
    // Centred under the bar at the width of its new caption.
    room.L_div->adjustSize();
    const float left = (room.Line_ax0->X1() + room.Line_ax1->X1() - float(room.L_div->width())) / 2;
    room.L_div->move(round_to_int(left), round_to_int(room.Line_eq->Y1()));
}
