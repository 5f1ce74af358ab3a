// SPDX-License-Identifier: MIT
#pragma once
// The scale bar in the bottom-right corner of the visible picture.

#include "platform/colour.h"

struct ScaleRoom;

// The grey of the bar's label on screen and of the whole bar in an exported
// picture (R = G = B = 136).
inline constexpr Colour scale_bar_grey = 8947848;

void draw_scale_bar(const ScaleRoom& room);
void Check_hidescale_Click(const ScaleRoom& room);
void Check_hidedivisions_Click(const ScaleRoom& room);
