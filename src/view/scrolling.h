// SPDX-License-Identifier: MIT
#pragma once
// The scroll bars move the picture area inside the viewport: the value of a
// bar is how far the picture is shifted left (up).

struct ViewRoom;

// Fits both bars to the sizes of the picture area and the viewport, keeping
// the view at the same relative position.
void update_scroll_bars(const ViewRoom& room);
// The bar's value changed: by an arrow, the track, a drag step, the wheel or
// update_scroll_bars.
void HS_main_Change(const ViewRoom& room);
void VS_main_Change(const ViewRoom& room);
// The thumb is being dragged.
void HS_main_Scroll(const ViewRoom& room);
void VS_main_Scroll(const ViewRoom& room);
