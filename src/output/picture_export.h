// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// "Save picture": the picture as shown at its zoom, with the scale bar, as a
// bitmap, a PNG or a JPEG (the save dialog's entry, or the name's extension).
void save_picture(F_main& f);
void wire_picture_export(F_main& f);
