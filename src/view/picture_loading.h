// SPDX-License-Identifier: MIT
#pragma once

#include "form/reporter.h"

#include <QString>

struct ViewRoom;

// "Open picture": asks for a file and shows it, at 100% or, with the zoom
// lock ticked, at the zoom in force.
void open_picture(const ViewRoom& room);
// The same for a file named otherwise (the command line, a drop, Open
// recent, Next picture). The file is decoded on a worker thread while the
// window repaints and shows the part of it the viewport will show; the
// window's input waits meanwhile (view/held_input.h), and the open completes
// as one step when the whole file has been read. A file that cannot be read
// as a picture leaves the window exactly as it was.
//
// The caller reports how it went, holding the window's input (InputHeld)
// until it has: a click held during the open then acts after the report, not
// before it.
struct PictureOpening {
    // What the status line says: what was opened ("Opened p.jpg, 600 x 400"),
    // or why nothing was. Empty when another open started meanwhile cancelled
    // this one; that one says how it went.
    QString message;
    ReportOutcome outcome = ReportOutcome::failure;
    bool opened() const { return outcome == ReportOutcome::done; }
};
PictureOpening open_picture_file(const ViewRoom& room, const QString& path);
// The picture being opened, or else the one shown (pic_path).
QString picture_being_opened(const ViewRoom& room);
