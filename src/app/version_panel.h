// SPDX-License-Identifier: MIT
#pragma once
// The version panel: a picture of the program's version, centred in the
// viewport, shown by "Version (&V)" and hidden by a click on it.

#include <QImage>

class F_main;

// The version picture, 320 x 180, 24-bit, drawn by the program.
QImage version_picture();
// Puts the version panel at the centre of the viewport, shown or not. When the
// viewport is the smaller, the panel moves right and down by half the
// difference, since the offsets are taken as absolute values.
void centre_version_panel(F_main& f);
void iv_Click(F_main& f);
// A click on the panel or on its picture.
void P_vers_Click(F_main& f);
