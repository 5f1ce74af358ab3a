// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class F_main;

// "Open picture": asks for a file and shows it, at 100% or, with the zoom
// lock ticked, at the zoom in force.
void open_picture(F_main& f);
// The same for a file named otherwise (the command line, a drop). False, with
// the previous picture kept and the reason in the status bar, when the file
// cannot be read as a picture.
bool open_picture_file(F_main& f, const QString& path);
