// SPDX-License-Identifier: MIT
#include "form/F_main.h"

#include "form/calibration_step.h"
#include "form/measuring_door.h"
#include "form/panel_font.h"
#include "form/pointer_tool.h"
#include "form/scale_door.h"
#include "platform/log.h"
#include "widgets/scroll_bar.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>

namespace {

QFont times(double points) {
    QFont font = panel_font();
    font.setPointSizeF(points);
    return font;
}

template <class W> W* element(QWidget* parent, const char* name, QRect place, double points = 0) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(place);
    if (points > 0) w->setFont(times(points));
    return w;
}

ClickLabel* label(QWidget* parent, const char* name, const QString& caption, QRect place,
                  double points) {
    auto* l = element<ClickLabel>(parent, name, place, points);
    l->setText(caption);
    return l;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, QRect place,
                 double points) {
    auto* c = element<QCheckBox>(parent, name, place, points);
    c->setText(caption);
    return c;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect place,
                    double points) {
    auto* b = element<QPushButton>(parent, name, place, points);
    b->setText(caption);
    return b;
}

} // namespace

F_main::F_main(FileDialogs& dialogs_, SpreadsheetFactory spreadsheets_, QWidget* parent)
    : QMainWindow(parent), dialogs(dialogs_), spreadsheets(std::move(spreadsheets_)) {
    setObjectName(QStringLiteral("F_main"));
    setFont(times(8.25));
    build_elements();
    build_menus();
    statusBar()->setObjectName(QStringLiteral("status"));
    // A label of our own: the status bar's temporary message is what menus'
    // status tips overwrite (with nothing) as the pointer passes over them.
    // Permanent and stretched, it takes the whole bar; a long message has its
    // paths shortened to fit, never its reason, and shows whole as the
    // label's tool tip.
    status_line = new StatusLabel(statusBar());
    status_line->setObjectName(QStringLiteral("status_line"));
    statusBar()->addPermanentWidget(status_line, 1);
    progress_bar = new QProgressBar(statusBar());
    progress_bar->setObjectName(QStringLiteral("progress_bar"));
    progress_bar->setRange(0, 100);
    progress_bar->setMaximumWidth(240);
    progress_bar->hide();
    statusBar()->addPermanentWidget(progress_bar);
    resize(657, 419 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

F_main::~F_main() = default;

void F_main::build_elements() {
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    P_out = element<PictureBox>(client, "P_out", {8, 0, 513, 401});
    P_out->set_background(colours::window_background);

    P_vers = element<PictureBox>(P_out, "P_vers", {16, 200, 353, 209});
    P_vers->set_background(rgb_colour(64, 64, 64));
    Img = element<PictureBox>(P_vers, "Img", {16, 15, 320, 180});

    P_in = element<PictureBox>(P_out, "P_in", {8, 8, 457, 313});
    P_in->set_background(rgb_colour(224, 224, 224));
    P_sub = element<PictureBox>(P_out, "P_sub", {440, 304, 41, 33});
    P_sub->set_background(rgb_colour(255, 192, 192));

    // The cross-hair draws in its own colours; every other overlay shows as the
    // inverse of the picture beneath it, so it is visible on any picture.
    L_trace_x = P_in->create_line(DrawMode::Copy, colours::window_text);
    L_trace_y = P_in->create_line(DrawMode::Copy, colours::window_text);
    L_div = label(P_in, "L_div", QStringLiteral("Label1"), {376, 144, 33, 14}, 8.25);
    L_div->setAttribute(Qt::WA_TransparentForMouseEvents);
    Line_scale = P_in->create_line(DrawMode::NotXor, colours::black);
    L_m.push_back(P_in->create_line(DrawMode::NotXor, colours::black));
    L_d = P_in->create_line(DrawMode::NotXor, colours::black);
    L_x0 = P_in->create_line(DrawMode::NotXor, colours::black);
    L_y0 = P_in->create_line(DrawMode::NotXor, colours::black);
    L_x1 = P_in->create_line(DrawMode::NotXor, colours::black);
    L_y1 = P_in->create_line(DrawMode::NotXor, colours::black);
    Line_ax0 = P_in->create_line(DrawMode::NotXor, colours::black);
    Line_ax1 = P_in->create_line(DrawMode::NotXor, colours::black);
    Line_eq = P_in->create_line(DrawMode::NotXor, colours::black);
    // The lines of the design are shown until start-up hides the measuring ones.
    for (LineObject* line : {L_trace_x, L_trace_y, Line_scale, L_m[0], L_d, L_x0, L_y0, L_x1, L_y1,
                             Line_ax0, Line_ax1, Line_eq})
        line->show();

    VS_main = element<QScrollBar>(client, "VS_main", {520, 0, 15, 401});
    VS_main->setOrientation(Qt::Vertical);
    HS_main = element<QScrollBar>(client, "HS_main", {8, 400, 513, 15});
    HS_main->setOrientation(Qt::Horizontal);
    draw_scroll_bar_plainly(VS_main);
    draw_scroll_bar_plainly(HS_main);

    Frm_result = element<QFrame>(client, "Frm_result", {536, 0, 113, 409});
    Frm_result->setFrameShape(QFrame::Box);
    Frm_result->setAutoFillBackground(true);
    {
        QPalette p = Frm_result->palette();
        p.setColor(QPalette::Window, to_qcolor(rgb_colour(224, 224, 224)));
        Frm_result->setPalette(p);
    }
    QWidget* f = Frm_result;
    Check_zlock = check(f, "Check_zlock", QStringLiteral("zoom lock"), {8, 8, 97, 14}, 8.25);
    L_in = label(f, "L_in", QStringLiteral("in"), {3, 24, 25, 17}, 9.75);
    L_even = label(f, "L_even", QStringLiteral("1/1"), {27, 24, 25, 17}, 9.75);
    L_out = label(f, "L_out", QStringLiteral("out"), {51, 24, 25, 17}, 9.75);
    for (ClickLabel* l : {L_in, L_even, L_out}) {
        l->setAlignment(Qt::AlignCenter);
        l->setCursor(Qt::PointingHandCursor);
    }
    L_zval = label(f, "L_zval", QStringLiteral("Label1"), {77, 24, 35, 13}, 8.25);
    Lx = label(f, "Lx", QStringLiteral("X"), {5, 44, 20, 25}, 14.25);
    Ly = label(f, "Ly", QStringLiteral("Y"), {5, 68, 20, 25}, 14.25);
    Ld = label(f, "Ld", QStringLiteral("D"), {5, 92, 20, 25}, 14.25);
    Lb_x = label(f, "Lb_x", QStringLiteral(".00"), {24, 45, 83, 23}, 15.75);
    Lb_y = label(f, "Lb_y", QStringLiteral(".00"), {24, 69, 83, 23}, 15.75);
    Lb_d = label(f, "Lb_d", QStringLiteral(".00"), {24, 93, 83, 23}, 15.75);
    for (ClickLabel* l : {Lb_x, Lb_y, Lb_d}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->set_shrink_to_fit(true); // "361250.00" would lose its first digit
    }
    Command_excel = button(f, "Command_excel", QStringLiteral("to Excel"), {8, 138, 97, 27}, 14.25);
    Command_new = button(f, "Command_new", QStringLiteral("new"), {8, 164, 97, 16}, 9.75);
    Text_comment = element<QPlainTextEdit>(f, "Text_comment", {8, 181, 97, 41}, 9.75);
    Text_comment->setPlainText(QStringLiteral("Text1"));
    Text_comment->setTabChangesFocus(true);
    Check_lock = check(f, "Check_lock", QStringLiteral("comment lock"), {8, 224, 97, 15}, 9.75);
    Check_focus = check(f, "Check_focus", QStringLiteral("comment focus"), {8, 240, 102, 15}, 9.75);
    Check_hideline =
        check(f, "Check_hideline", QStringLiteral("hide lines"), {8, 256, 97, 15}, 9.75);
    const char* option_names[] = {"Option_tracer_0", "Option_tracer_1", "Option_tracer_2"};
    const QString option_captions[] = {QStringLiteral("single line"), QStringLiteral("multi lines"),
                                       QStringLiteral("free hand")};
    for (int i = 0; i < 3; ++i) {
        Option_tracer[static_cast<size_t>(i)] =
            element<QRadioButton>(f, option_names[i], {16, 272 + 16 * i, 89, 15}, 9.75);
        Option_tracer[static_cast<size_t>(i)]->setText(option_captions[i]);
    }
    Check_hidescale =
        check(f, "Check_hidescale", QStringLiteral("hide scale"), {8, 312, 97, 15}, 9.75);
    Check_hidedivisions =
        check(f, "Check_hidedivisions", QStringLiteral("hide division"), {8, 328, 97, 15}, 9.75);
    Line1 = element<QFrame>(f, "Line1", {8, 357, 97, 1});
    Line1->setFrameShape(QFrame::NoFrame);
    Line1->setAutoFillBackground(true);
    {
        QPalette p = Line1->palette();
        p.setColor(QPalette::Window, Qt::black);
        Line1->setPalette(p);
    }
    Command_set =
        button(f, "Command_set", calibration_caption(CalibrationStep::idle), {3, 362, 108, 20}, 12);
    Label_as = label(f, "Label_as", QStringLiteral("as"), {8, 384, 25, 17}, 12);
    Text_scale = element<QLineEdit>(f, "Text_scale", {32, 384, 73, 21}, 11.25);
    Text_scale->setText(QStringLiteral("Text1"));
}

void F_main::build_menus() {
    // The access keys the captions mark with "&"; the keys are set where each
    // item is wired (the folders' wiring.cpp).
    ff = menuBar()->addMenu(QStringLiteral("File (&F)"));
    ff->setObjectName(QStringLiteral("ff"));
    auto item = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    fo = item(ff, "fo", QStringLiteral("Open picture (&O)"));
    fp = item(ff, "fp", QStringLiteral("Open scale defi (&P)"));
    fs = item(ff, "fs", QStringLiteral("Save picture (&S)"));
    fl = item(ff, "fl", QStringLiteral("Save scale defi(&L)"));
    recovered_workbooks =
        item(ff, "recovered_workbooks", QStringLiteral("Recovered workbooks (&W)"));
    recovered_workbooks->setVisible(false);
    fx = item(ff, "fx", QStringLiteral("Exit (&X)"));
    ii = menuBar()->addMenu(QStringLiteral("Info (&I)"));
    ii->setObjectName(QStringLiteral("ii"));
    iu = item(ii, "iu", QStringLiteral("Tutorial (&U)"));
    iv = item(ii, "iv", QStringLiteral("Version (&V)"));
}

void F_main::report(const QString& message, Outcome outcome) {
    if (!message.isEmpty()) {
        if (outcome == Outcome::failure)
            qCWarning(kelvo_log).noquote() << message;
        else
            qCInfo(kelvo_log).noquote() << message;
    }
    if (gathered_reports && !message.isEmpty())
        gathered_reports->push_back({message, outcome});
    else
        status_line->set_message(message);
}

void Reporter::operator()(const QString& message, ReportOutcome outcome) const {
    f_->report(message, outcome);
}

QString F_main::status_text() const {
    return status_line->message();
}

JoinedReports::JoinedReports(F_main& f) : f_(f), outer_(f.gathered_reports) {
    f.gathered_reports = &reports_;
}

JoinedReports::~JoinedReports() {
    f_.gathered_reports = outer_;
    // Failures first: they are what the user has to act on.
    std::stable_partition(reports_.begin(), reports_.end(),
                          [](const Report& r) { return r.outcome == F_main::Outcome::failure; });
    QStringList messages;
    for (const Report& r : reports_)
        messages << r.message;
    if (outer_) {
        for (const Report& r : reports_)
            outer_->push_back(r);
    } else if (!reports_.empty()) {
        f_.status_line->set_message(messages.join(QStringLiteral("; ")));
    }
}

void F_main::closeEvent(QCloseEvent* event) {
    int cancel = 0;
    if (on_unload) on_unload(cancel);
    if (cancel != 0)
        event->ignore();
    else
        event->accept();
}
