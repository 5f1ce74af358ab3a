// SPDX-License-Identifier: MIT
#include "app/tooltips.h"

#include "form/F_main.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

void set_tooltips(F_main& f) {
    const struct {
        QWidget* element;
        const char* tip;
    } tips[] = {
        {f.Check_zlock, "Keeps the zoom as it is: the zoom buttons, keys and wheel do nothing, "
                        "and a picture opened next shows at this zoom."},
        {f.L_in, "Zoom in by 10 points (Ctrl++, or Ctrl+wheel away from you)."},
        {f.L_out, "Zoom out by 10 points (Ctrl+-, or Ctrl+wheel towards you)."},
        {f.L_even, "Show the picture at 100% (Ctrl+0)."},
        {f.L_zval, "The zoom: 10% to 510%."},
        {f.Lb_x, "Horizontal extent in your units. Click to mark it red in the workbook row; "
                 "Ctrl+C copies X, Y and D."},
        {f.Lb_y, "Vertical extent in your units. Click to mark it red in the workbook row; "
                 "Ctrl+C copies X, Y and D."},
        {f.Lb_d, "Length in your units. Click to mark it red in the workbook row; "
                 "Ctrl+C copies X, Y and D."},
        {f.Command_excel, "Writes the result and the comment as a row of the workbook "
                          "(Enter while the button has the focus)."},
        {f.Command_new, "Closes the workbook and starts a new one, asking for its name."},
        {f.Text_comment, "Comment written with the next row."},
        {f.Check_lock, "Keeps the comment for the rows that follow."},
        {f.Check_focus, "After a measurement, hand the keyboard to the comment instead of "
                        "\"to Excel\"."},
        {f.Check_hideline, "Hides the cross-hair and the lines; the picture takes no "
                           "measurements while ticked."},
        {f.Option_tracer[0], "Measure one straight line: click its two ends. "
                             "Right-click or Escape takes a point back."},
        {f.Option_tracer[1], "Measure a chain of lines: click each point, double-click to end. "
                             "Right-click or Escape takes a point back."},
        {f.Check_hidescale, "Hides the scale bar."},
        {f.Check_hidedivisions, "Hides the scale bar's division value."},
        {f.Command_set, "Calibrate: click, then click both ends of a feature of known size and "
                        "type its length below. Escape cancels while a point is awaited."},
        {f.Text_scale, "The length of the reference line; Enter sets the scale."},
    };
    for (const auto& t : tips)
        t.element->setToolTip(QString::fromUtf8(t.tip));
}
