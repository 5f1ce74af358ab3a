// SPDX-License-Identifier: MIT
#include "app/layout.h"

#include "app/version_panel.h"
#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/scale_room.h"
#include "form/view_room.h"
#include "measure/modes.h"
#include "scale/scale_bar.h"
#include "view/scrolling.h"

#include <QFrame>
#include <QScrollBar>
#include <cstdlib>

// The viewport takes all the space the fixed parts leave: 5 pixels of margin
// left, right and below, none above, the scroll bars (as thick as the
// horizontal bar is high) along its bottom and right edges, and the panel
// right of the vertical bar. The absolute values keep every size positive
// when the window is smaller than the fixed parts.
void lay_out_window(F_main& f) {
    // Before start-up the zoom caption is not yet a number, and the scale bar
    // divides by it.
    if (!f.started) return;
    const int w = f.client->width();
    const int h = f.client->height();
    const int panel = f.Frm_result->width();
    const int bar = f.HS_main->height();

    f.P_out->setGeometry(5, 0, std::abs(w - bar - panel - 10), std::abs(h - bar - 5));
    // The same place "Version" puts it, from the viewport's inner size.
    centre_version_panel(f);
    f.HS_main->setGeometry(5, f.P_out->y() + f.P_out->height(), f.P_out->width(), bar);
    f.VS_main->setGeometry(f.P_out->x() + f.P_out->width(), f.P_out->y(), bar, f.P_out->height());
    f.Frm_result->move(f.VS_main->x() + f.VS_main->width(), f.P_out->y());

    span_guide_lines(f.measure_room());
    update_scroll_bars(f.view_room());
    draw_scale_bar(f.scale_room());
}
