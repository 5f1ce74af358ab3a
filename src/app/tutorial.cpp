// SPDX-License-Identifier: MIT
#include "app/tutorial.h"

#include "form/F_main.h"
#include "form/panel_font.h"
#include "widgets/click_label.h"

#include <QCloseEvent>
#include <QPlainTextEdit>

namespace {

const QString crlf = QStringLiteral("\r\n");

struct Topic {
    const char* name;
    QString caption;
    QRect place;
    QString text;
};

const Topic topic_table[] = {
    {"L_measure",
     QStringLiteral("measure"),
     {8, 8, 81, 17},
     QStringLiteral(" click two points on loaded picture to measure the length.") + crlf +
         QStringLiteral("multi line measure may be useful for measurement of complex lines.") +
         crlf + QStringLiteral("dblclick to end multi line measurement.") + crlf + crlf +
         QStringLiteral(" right click undo one measuring step.")},
    {"L_setscale",
     QStringLiteral("set kelvo"),
     {88, 8, 81, 17},
     QStringLiteral(" set the scale as you wanna,") + crlf +
         QStringLiteral("click [set kelvo], then point the start and end point on loaded "
                        "picture.") +
         crlf +
         QStringLiteral("and click [set scale as...] after filling scale box with the drawn line "
                        "length.") +
         crlf + crlf + QStringLiteral(" default scale is 1.0/pixel.")},
    {"L_savexls",
     QStringLiteral("save in Excel"),
     {168, 8, 81, 17},
     QStringLiteral(" you can save measured value and some comments as Excel file.") + crlf},
    {"L_savepic",
     QStringLiteral("save picture"),
     {248, 8, 81, 17},
     QStringLiteral(" you can save picture with the scale bar or lines in .bmp or .jpg file.") +
         crlf + QStringLiteral("to name picture file, click menu (Save picture (S)).")},
    {"L_savedefi",
     QStringLiteral("save scale defi"),
     {328, 8, 81, 17},
     QStringLiteral(" defined scale (0.43/pixel, etc.) can be saved as .kvo file.")},
};

const char* const marked_property = "marked";

ClickLabel* framed_label(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* l = new ClickLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(place);
    l->setText(caption);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    l->setFrameShadow(QFrame::Plain);
    l->setLineWidth(1);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

// A marked topic is drawn sunken, like the pressed tab; the others stay flat.
void set_marked(ClickLabel* topic, bool marked) {
    topic->setProperty(marked_property, marked);
    topic->setFrameShape(marked ? QFrame::Panel : QFrame::Box);
    topic->setFrameShadow(marked ? QFrame::Sunken : QFrame::Plain);
}

} // namespace

F_tut::F_tut(F_main& window) : QWidget(nullptr), main_window(&window) {
    setObjectName(QStringLiteral("F_tut"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setFixedSize(417, 224);
    QFont font = panel_font();
    font.setPointSizeF(8.25);
    setFont(font);

    ClickLabel** fields[] = {&L_measure, &L_setscale, &L_savexls, &L_savepic, &L_savedefi};
    for (std::size_t i = 0; i < std::size(topic_table); ++i) {
        const Topic& t = topic_table[i];
        *fields[i] = framed_label(this, t.name, t.caption, t.place);
        ClickLabel* label = *fields[i];
        connect(label, &ClickLabel::clicked, this, [this, label] { topic_Click(*this, label); });
    }
    T_mes = new QPlainTextEdit(this);
    T_mes->setObjectName(QStringLiteral("T_mes"));
    T_mes->setGeometry(8, 24, 401, 177);
    L_exit = framed_label(this, "L_exit", QStringLiteral("exit"), {328, 200, 81, 17});
    connect(L_exit, &ClickLabel::clicked, this, [this] { L_exit_Click(*this); });

    // Without an owner the window would outlive the main window's object.
    connect(&window, &QObject::destroyed, this, &QObject::deleteLater);
    F_tut_Load(*this);
}

void F_tut::closeEvent(QCloseEvent* event) {
    F_tut_Unload(*this);
    event->accept();
}

void iu_Click(F_main& f) {
    if (!f.tutorial) f.tutorial = new F_tut(f);
    f.tutorial->show();
    f.tutorial->raise();
    f.tutorial->activateWindow();
    f.F_tut_Vw = 1;
}

void F_tut_Load(F_tut& t) {
    t.setWindowTitle(QStringLiteral(" tutorial"));
    t.T_mes->setPlainText(QString());
}

void F_tut_Unload(F_tut& t) {
    if (!t.main_window) return;
    t.main_window->F_tut_Vw = 0;
    // The window is discarded (deleted once the event loop gets to it); the
    // next "Tutorial" loads a fresh one.
    if (t.main_window->tutorial == &t) t.main_window->tutorial = nullptr;
}

void topic_Click(F_tut& t, ClickLabel* topic) {
    for (ClickLabel* label : t.topics())
        set_marked(label, label == topic);
    t.T_mes->setPlainText(topic_text(t, topic));
}

void L_exit_Click(F_tut& t) {
    t.close();
}

QString topic_text(const F_tut&, const ClickLabel* topic) {
    for (const Topic& t : topic_table)
        if (topic->objectName() == QLatin1String(t.name)) return t.text;
    return QString();
}

bool is_marked(const ClickLabel* topic) {
    return topic->property(marked_property).toBool();
}
