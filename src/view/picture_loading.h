// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class F_main;

// "Open picture": asks for a file and shows it, at 100% or, with the zoom
// lock ticked, at the zoom in force.
void open_picture(F_main& f);
// The same for a file named otherwise (the command line, a drop, Open
// recent, Next picture). The file is decoded on a worker thread while the
// window repaints and shows the part of it the viewport will show; the
// window's input waits meanwhile (view/held_input.h), and the open completes
// as one step when the whole file has been read. False, with the window
// exactly as it was and the reason in the status bar, when the file cannot be
// read as a picture; false too, saying nothing, when another open started
// meanwhile cancelled this one.
bool open_picture_file(F_main& f, const QString& path);
// The picture being opened, or else the one shown (pic_path).
QString picture_being_opened(F_main& f);
