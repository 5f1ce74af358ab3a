// SPDX-License-Identifier: MIT
#pragma once
// Output's room: what the picture export and the spreadsheet export own or
// read, under the window's names, and the doors of measuring (the results)
// and of the scale (the bar); nothing else of the window
// (F_main::output_room). As every room it is a view: its member types say
// what it may change.

#include "form/dialogs.h"
#include "form/reporter.h"

#include <QString>

class MeasuringDoor;
class PictureBox;
class QAction;
class QCheckBox;
class QPlainTextEdit;
class ScaleDoor;
class WorkbookSession;

struct OutputRoom {
    const QString& pic_path;      // the picture shown: the row's first cell
    const PictureBox* P_in;       // the picture as shown, exported
    PictureBox* P_sub;            // the work box: its font sizes the exported label
    QPlainTextEdit* Text_comment; // the row's comment, emptied once written
    const QCheckBox* Check_lock;  // keeps the comment
    QAction* recovered_workbooks; // "Recovered workbooks", shown while there are any
    WorkbookSession& workbook;    // the open workbook
    bool& close_refused;          // a close was refused once: the next goes through
    MeasuringDoor& measuring;     // the results and the cross-hair's green
    const ScaleDoor& scale;       // the scale bar
    FileAsking dialogs;
    Reporter report;
};
