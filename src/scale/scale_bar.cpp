// SPDX-License-Identifier: MIT
#include "scale/scale_bar.h"

#include "form/F_main.h"
#include "form/numbers.h"
#include "form/view_mapping.h"
#include "scale/division.h"
#include "widgets/scroll_bar.h"

#include <QCheckBox>
#include <QScrollBar>

// The bar lives inside P_in, so it scrolls with the picture: after every
// change of scale, zoom, scroll position or size it is put back into the
// bottom-right corner of what the viewport shows.
void draw_scale_bar(F_main& f) {
    // "hide division" freezes the bar: it keeps its last place and length.
    if (value(f.Check_hidedivisions) == 1) return;

    // A scroll bar is enabled exactly when the picture exceeds the viewport
    // that way; otherwise the picture's own edge is the visible edge.
    const bool h_scroll = scroll_bar_enabled(f.HS_main);
    const bool v_scroll = scroll_bar_enabled(f.VS_main);
    const QRect viewport = f.P_out->contentsRect();
    const double visible_width = h_scroll ? viewport.width() : f.P_in->width();

    const std::optional<Division> division =
        choose_division(view_mapping(f).percent, f.unit_per_px, visible_width);
    if (!division) return;

    const float right =
        h_scroll ? float(f.HS_main->value() + viewport.width() - 10) : float(f.P_in->width() - 10);
    f.Line_ax1->set_X1(right);
    f.Line_ax1->set_X2(right);
    f.Line_ax0->set_X1(right - division->length);
    f.Line_ax0->set_X2(f.Line_ax0->X1());
    f.Line_eq->set_X1(f.Line_ax0->X1());
    f.Line_eq->set_X2(f.Line_ax1->X1());

    const float top = v_scroll ? float(f.VS_main->value() + viewport.height() - 20)
                               : float(f.P_in->height() - 20);
    f.Line_ax1->set_Y2(top);
    f.Line_ax1->set_Y1(top + 5);
    f.Line_ax0->set_Y2(top);
    f.Line_ax0->set_Y1(top + 5);
    f.Line_eq->set_Y1(top + 4);
    f.Line_eq->set_Y2(f.Line_eq->Y1());

    // The label stays as it is while "hide scale" has disabled "hide division".
    if (!f.Check_hidedivisions->isEnabledTo(f.Frm_result) || value(f.Check_hidedivisions) != 0)
        return;
    f.L_div->setText(division_caption(*division));
    f.L_div->set_fore_colour(scale_bar_grey);
    // Centred under the bar at the width of its new caption.
    f.L_div->adjustSize();
    const float left = (f.Line_ax0->X1() + f.Line_ax1->X1() - float(f.L_div->width())) / 2;
    f.L_div->move(round_to_int(left), round_to_int(f.Line_eq->Y1()));
}
