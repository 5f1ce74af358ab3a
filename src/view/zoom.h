// SPDX-License-Identifier: MIT
#pragma once
// Zoom from 10% to 510% in steps of 10. The caption of L_zval is the one
// place that holds it (read and written through form/view_mapping.h).

#include <QString>

struct ViewRoom;

void L_in_Click(const ViewRoom& room);
void L_out_Click(const ViewRoom& room);
void L_even_Click(const ViewRoom& room);
// Shows the picture of pic_path at the zoom caption's percentage. Returns why
// it cannot be read, with the view unchanged; empty when it is shown.
QString render_at_zoom(const ViewRoom& room);

// True while the zoom buttons act: a picture is open and "zoom lock" unticked.
bool zoom_buttons_act(const ViewRoom& room);
// The zoom after one step of `points` (+10 "in", -10 "out") from `z`: "in"
// acts only up to 500%, "out" only from 15%; otherwise `z` itself.
int stepped_zoom(int z, int points);
// Shows the picture at `percent` with everything that follows a zoom step
// (caption, resets, scroll bars, scale bar). Returns why the file can no
// longer be read, with nothing changed; empty when it is shown. The caller
// says it.
QString show_zoom(const ViewRoom& room, int percent);
