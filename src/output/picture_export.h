// SPDX-License-Identifier: MIT
#pragma once

struct OutputRoom;

// "Save picture": the picture as shown at its zoom, with the scale bar, as a
// bitmap, a PNG or a JPEG (the save dialog's entry, or the name's extension).
void save_picture(const OutputRoom& room);
