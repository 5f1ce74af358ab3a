// SPDX-License-Identifier: MIT
// The tutorial window of the Info menu.

#include "kelvo_fixture.h"

#include "app/tutorial.h"
#include "widgets/click_label.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextDocument>

namespace {

class Tutorial : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window();
    }

    // Tutorial windows that exist, shown or not, not yet discarded.
    static QList<F_tut*> tutorial_windows() {
        QList<F_tut*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<F_tut*>(w)) found << t;
        return found;
    }
    static bool discarded() {
        return QTest::qWaitFor([] { return tutorial_windows().isEmpty(); }, 2000);
    }
    F_tut* open_tutorial() {
        f->iu->trigger();
        return f->tutorial.data();
    }
    static QStringList marked(const F_tut& t) {
        QStringList names;
        for (ClickLabel* topic : t.topics())
            if (is_marked(topic)) names << topic->objectName();
        return names;
    }
};

TEST_F(Tutorial, ChosenTwiceItIsOneSeparateWindowWithItsDesign) {
    F_tut* t = open_tutorial();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(open_tutorial(), t);
    EXPECT_EQ(tutorial_windows().size(), 1);
    EXPECT_EQ(f->F_tut_Vw, 1);

    EXPECT_TRUE(t->isVisible());
    EXPECT_TRUE(t->isWindow());
    EXPECT_EQ(t->parentWidget(), nullptr) << "no owner";
    EXPECT_FALSE(t->isModal());
    EXPECT_EQ(t->objectName(), QStringLiteral("F_tut"));
    EXPECT_EQ(t->windowTitle(), QStringLiteral(" tutorial"));
    EXPECT_EQ(t->size(), QSize(417, 224));
    EXPECT_TRUE(t->T_mes->toPlainText().isEmpty());
    EXPECT_TRUE(marked(*t).isEmpty()) << "all topics look alike at first";

    const struct {
        const char* name;
        const char* caption;
        QRect place;
    } design[] = {{"L_measure", "measure", {8, 8, 81, 17}},
                  {"L_setscale", "set kelvo", {88, 8, 81, 17}},
                  {"L_savexls", "save in Excel", {168, 8, 81, 17}},
                  {"L_savepic", "save picture", {248, 8, 81, 17}},
                  {"L_savedefi", "save scale defi", {328, 8, 81, 17}},
                  {"L_exit", "exit", {328, 200, 81, 17}}};
    for (const auto& d : design) {
        auto* label = t->findChild<ClickLabel*>(QLatin1String(d.name));
        ASSERT_NE(label, nullptr) << d.name;
        EXPECT_EQ(label->text(), QLatin1String(d.caption)) << d.name;
        EXPECT_EQ(label->geometry(), d.place) << d.name;
        EXPECT_EQ(label->frameShape(), QFrame::Box) << d.name;
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << d.name;
    }
    auto* box = t->findChild<QPlainTextEdit*>(QStringLiteral("T_mes"));
    ASSERT_EQ(box, t->T_mes);
    EXPECT_EQ(box->geometry(), QRect(8, 24, 401, 177));
}

TEST_F(Tutorial, EachTopicShowsItsTextExactlyAndIsTheOnlyOneMarked) {
    F_tut* t = open_tutorial();
    const QString crlf = QStringLiteral("\r\n");
    const struct {
        ClickLabel* label;
        QString text;
        int lines;
    } topics[] = {
        {t->L_measure,
         QStringLiteral(" click two points on loaded picture to measure the length.") + crlf +
             QStringLiteral("multi line measure may be useful for measurement of complex lines.") +
             crlf + QStringLiteral("dblclick to end multi line measurement.") + crlf + crlf +
             QStringLiteral(" right click undo one measuring step."),
         5},
        {t->L_setscale,
         QStringLiteral(" set the scale as you wanna,") + crlf +
             QStringLiteral("click [set kelvo], then point the start and end point on loaded "
                            "picture.") +
             crlf +
             QStringLiteral("and click [set scale as...] after filling scale box with the drawn "
                            "line length.") +
             crlf + crlf + QStringLiteral(" default scale is 1.0/pixel."),
         5},
        {t->L_savexls,
         QStringLiteral(" you can save measured value and some comments as Excel file.") + crlf, 2},
        {t->L_savepic,
         QStringLiteral(" you can save picture with the scale bar or lines in .bmp or .jpg "
                        "file.") +
             crlf + QStringLiteral("to name picture file, click menu (Save picture (S))."),
         2},
        {t->L_savedefi,
         QStringLiteral(" defined scale (0.43/pixel, etc.) can be saved as .kvo file."), 1},
    };
    for (const auto& topic : topics) {
        for (int click = 0; click < 2; ++click) { // twice: nothing changes
            pointer::click(topic.label);
            const std::string name = topic.label->objectName().toStdString();
            EXPECT_EQ(topic_text(*t, topic.label), topic.text) << name;
            QString shown = topic.text;
            shown.replace(crlf, QStringLiteral("\n"));
            EXPECT_EQ(t->T_mes->toPlainText(), shown) << name;
            EXPECT_EQ(t->T_mes->document()->blockCount(), topic.lines) << name;
            EXPECT_EQ(marked(*t), QStringList{topic.label->objectName()}) << name;
            EXPECT_EQ(topic.label->frameShadow(), QFrame::Sunken) << name;
        }
    }
    EXPECT_FALSE(is_marked(t->L_exit));

    // Chosen again while open, the window keeps its text and mark.
    EXPECT_EQ(open_tutorial(), t);
    EXPECT_EQ(marked(*t), QStringList{QStringLiteral("L_savedefi")});
    EXPECT_FALSE(t->T_mes->toPlainText().isEmpty());
}

TEST_F(Tutorial, ExitAndTheCloseButtonBothCloseItAndItReopensEmpty) {
    F_tut* t = open_tutorial();
    pointer::click(t->L_setscale);
    pointer::click(t->L_exit);
    EXPECT_EQ(f->F_tut_Vw, 0);
    EXPECT_TRUE(discarded());

    t = open_tutorial();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(f->F_tut_Vw, 1);
    EXPECT_TRUE(t->T_mes->toPlainText().isEmpty());
    EXPECT_TRUE(marked(*t).isEmpty());
    pointer::click(t->L_measure);

    t->close(); // what the window's close button does
    EXPECT_EQ(f->F_tut_Vw, 0);
    EXPECT_TRUE(discarded());
    t = open_tutorial();
    EXPECT_EQ(tutorial_windows().size(), 1);
    EXPECT_TRUE(t->T_mes->toPlainText().isEmpty());
}

TEST_F(Tutorial, ClosingTheMainWindowClosesTheTutorial) {
    open_tutorial();
    f->fx->trigger(); // "Exit (&X)"
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->F_tut_Vw, 0);
    EXPECT_TRUE(discarded());
}

TEST_F(Tutorial, TheTutorialGoesWithTheMainWindowObject) {
    open_tutorial();
    f.reset(); // even without an unload, no window is left behind
    EXPECT_TRUE(discarded());
}

} // namespace
