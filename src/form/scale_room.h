// SPDX-License-Identifier: MIT
#pragma once
// The scale's room: the elements and state the calibration, the scale bar
// and the scale file own or read, under the window's names, and measuring's
// door; nothing else of the window (F_main::scale_room). As every room it
// is a view: its member types say what it may change.

#include "form/dialogs.h"
#include "form/reporter.h"
#include "form/view_mapping.h"

class ClickLabel;
class LineObject;
class MeasuringDoor;
class PictureBox;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

struct ScaleRoom {
    QPushButton* Command_set; // its caption is the calibration step (form/calibration_step.h)
    QLineEdit* Text_scale;    // the reference length typed
    LineObject* Line_scale;   // the reference line
    LineObject* Line_ax0;     // the scale bar: its two ticks, its line and its label
    LineObject* Line_ax1;
    LineObject* Line_eq;
    ClickLabel* L_div;
    const QCheckBox* Check_hidescale;
    QCheckBox* Check_hidedivisions; // "hide scale" disables it
    const QWidget* Frm_result;      // where "hide division" is enabled or not
    // Where the bar stands: the corner of what the viewport shows.
    const PictureBox* P_in;
    const PictureBox* P_out;
    const QScrollBar* HS_main;
    const QScrollBar* VS_main;

    float& unit_per_px;
    const ViewMapping& zoom;
    MeasuringDoor& measuring; // clears and restarts measuring, converts the results
    FileAsking dialogs;
    Reporter report;
};
