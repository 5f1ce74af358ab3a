// SPDX-License-Identifier: MIT
#pragma once
// The view's room: what showing the picture owns or reads (opening, the
// zoom, scrolling, the wheel, the decoding ahead, the steps through the
// folder, the pointer's aids, the recent pictures, the scroll keys), under
// the window's names, and the doors of measuring and of the scale; nothing
// else of the window (F_main::view_room). As every room it is a view: its
// member types say what it may change.

#include "form/dialogs.h"
#include "form/reporter.h"
#include "form/view_mapping.h"
#include "platform/file_identity.h"

#include <QImage>
#include <QString>

class ClickLabel;
class MeasuringDoor;
class PictureBox;
class QCheckBox;
class QMenu;
class QScrollBar;
class QWidget;
class ScaleDoor;

struct ViewRoom {
    // The window itself: its input is what an open holds, and it owns the
    // view's helpers (the open under way, the decoding ahead, the wheel's
    // zoom), which are found under it.
    QWidget* window;
    PictureBox* P_in;  // the picture area: the picture shown, placed by the scroll bars
    PictureBox* P_out; // the viewport: the first screenful and the magnifier lie over it
    QScrollBar* HS_main;
    QScrollBar* VS_main;
    const QCheckBox* Check_zlock; // the zoom buttons, keys and wheel read it
    ClickLabel* L_zval;           // the zoom's caption (form/view_mapping.h)
    QMenu* ff;                    // the File menu: Open recent is in it

    QString& pic_path;
    ViewMapping& zoom;
    // The full-size picture kept between zoom steps, the file it was decoded
    // from as it was then, and its smaller copy (view/kept_picture.h).
    QImage& full_picture;
    FileIdentity& full_picture_file;
    QImage& smaller_picture;
    QImage& spare_memory; // the picture shown before's memory, to decode the next into

    MeasuringDoor& measuring; // restarted by a zoom step and a new picture
    ScaleDoor& scale;         // the bar redrawn, the calibration kept or ended
    FileAsking dialogs;
    Reporter report;
};
