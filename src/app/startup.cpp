// SPDX-License-Identifier: MIT
#include "app/startup.h"

#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/measuring_mode.h"
#include "form/output_room.h"
#include "form/view_mapping.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"
#include "output/workbook_recovery.h"
#include "output/workbook_session.h"
#include "version.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {
void take_window_background(F_main& f, QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, f.palette().color(QPalette::Window));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}
} // namespace

void F_main_Load(F_main& f) {
    f.setWindowTitle(QStringLiteral(" kelvo ver " KELVO_VERSION " - " KELVO_RELEASE_DATE));
    f.setWindowState(f.windowState() | Qt::WindowMaximized);

    take_window_background(f, f.Frm_result);
    f.Frm_result->setFrameShape(QFrame::NoFrame);
    for (QCheckBox* box : {f.Check_focus, f.Check_lock, f.Check_hideline, f.Check_hidescale,
                           f.Check_hidedivisions, f.Check_zlock})
        take_window_background(f, box);

    f.L_div->setText(QStringLiteral("100"));

    LineObject* tmpl = f.L_m[0];
    tmpl->set_X1(tmpl->X2());
    tmpl->set_Y1(tmpl->Y2());
    tmpl->hide();
    f.Line_scale->hide();

    set_view_zoom(f, 100);

    set_measuring_mode(f, MeasuringMode::single);
    f.Option_tracer[2]->hide();

    f.P_in->resize(1, 1);
    f.P_vers->hide();
    f.P_sub->hide();

    f.Text_comment->setPlainText(QString());
    f.Text_scale->setText(QStringLiteral("1.00/pixel"));

    f.workbook->xl_open = 0;
    f.unit_per_px = 1.0f;

    restart_measuring(f.measure_room());
    set_trace_grey(f.measure_room());
    f.report(announce_recovered_workbooks(f.output_room()));

    f.started = true;
}
