// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"

#include "output/workbook_session.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

using StartUp = KelvoTest;

TEST_F(StartUp, TheWindowOpensWithItsDefaults) {
    EXPECT_EQ(f->windowTitle(), QStringLiteral(" kelvo ver 0.02 - 2005, 02, 28"));
    EXPECT_TRUE(f->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("1.00/pixel"));
    EXPECT_TRUE(f->Text_comment->toPlainText().isEmpty());
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_TRUE(f->Option_tracer[0]->isChecked());
    EXPECT_FALSE(f->Option_tracer[1]->isChecked());
    EXPECT_TRUE(f->Option_tracer[2]->isHidden());
    EXPECT_TRUE(f->P_vers->isHidden());
    EXPECT_TRUE(f->P_sub->isHidden());
    EXPECT_EQ(f->P_in->size(), QSize(1, 1));
    for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1, f->Line_scale, f->L_m[0]})
        EXPECT_FALSE(line->visible());
    EXPECT_EQ(f->L_m[0]->X1(), f->L_m[0]->X2());
    EXPECT_EQ(f->L_m[0]->Y1(), f->L_m[0]->Y2());
    EXPECT_EQ(f->unit_per_px, 1.0f);
    EXPECT_EQ(f->workbook->xl_open, 0);
    EXPECT_TRUE(f->pic_path.isEmpty());
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_EQ(f->seg_count, 0);
    for (QCheckBox* box : {f->Check_zlock, f->Check_hideline, f->Check_hidescale,
                           f->Check_hidedivisions, f->Check_focus, f->Check_lock})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
}

TEST_F(StartUp, PanelAndCheckBoxesTakeTheWindowBackground) {
    const QColor window = f->palette().color(QPalette::Window);
    EXPECT_EQ(f->Frm_result->palette().color(QPalette::Window), window);
    EXPECT_EQ(f->Frm_result->frameShape(), QFrame::NoFrame);
    for (QCheckBox* box : {f->Check_zlock, f->Check_hideline, f->Check_hidescale,
                           f->Check_hidedivisions, f->Check_focus, f->Check_lock})
        EXPECT_EQ(box->palette().color(QPalette::Window), window)
            << box->objectName().toStdString();
}

TEST_F(StartUp, EveryElementIsFoundByItsNameInItsContainer) {
    const struct {
        const char* name;
        QWidget* container;
    } expected[] = {
        {"P_out", f->client},
        {"HS_main", f->client},
        {"VS_main", f->client},
        {"Frm_result", f->client},
        {"P_in", f->P_out},
        {"P_sub", f->P_out},
        {"P_vers", f->P_out},
        {"Img", f->P_vers},
        {"L_div", f->P_in},
        {"Check_zlock", f->Frm_result},
        {"L_in", f->Frm_result},
        {"L_even", f->Frm_result},
        {"L_out", f->Frm_result},
        {"L_zval", f->Frm_result},
        {"Lx", f->Frm_result},
        {"Ly", f->Frm_result},
        {"Ld", f->Frm_result},
        {"Lb_x", f->Frm_result},
        {"Lb_y", f->Frm_result},
        {"Lb_d", f->Frm_result},
        {"Command_excel", f->Frm_result},
        {"Command_new", f->Frm_result},
        {"Text_comment", f->Frm_result},
        {"Check_lock", f->Frm_result},
        {"Check_focus", f->Frm_result},
        {"Check_hideline", f->Frm_result},
        {"Option_tracer_0", f->Frm_result},
        {"Option_tracer_1", f->Frm_result},
        {"Option_tracer_2", f->Frm_result},
        {"Check_hidescale", f->Frm_result},
        {"Check_hidedivisions", f->Frm_result},
        {"Line1", f->Frm_result},
        {"Command_set", f->Frm_result},
        {"Label_as", f->Frm_result},
        {"Text_scale", f->Frm_result},
    };
    for (const auto& e : expected) {
        auto* w = f->findChild<QWidget*>(QLatin1String(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        EXPECT_EQ(w->parentWidget(), e.container) << e.name;
    }
}

TEST_F(StartUp, PanelElementsSitAtTheirDesignPlacesInTheirFonts) {
    EXPECT_EQ(f->Check_zlock->geometry(), QRect(8, 8, 97, 14));
    EXPECT_EQ(f->Lb_d->geometry(), QRect(24, 93, 83, 23));
    EXPECT_EQ(f->Command_set->geometry(), QRect(3, 362, 108, 20));
    EXPECT_EQ(f->Text_scale->geometry(), QRect(32, 384, 73, 21));
    EXPECT_EQ(f->Option_tracer[1]->geometry(), QRect(16, 288, 89, 15));
    EXPECT_EQ(f->Lb_x->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(f->Lb_x->font().pointSizeF(), 15.75);
    EXPECT_DOUBLE_EQ(f->Command_excel->font().pointSizeF(), 14.25);
    EXPECT_DOUBLE_EQ(f->L_zval->font().pointSizeF(), 8.25);
    EXPECT_EQ(f->Frm_result->size(), QSize(113, 409));
}

TEST_F(StartUp, MenusReadAsDesignedWithAccessKeysAndKeysOnlyWhereAdded) {
    const QList<QAction*> menus = f->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("File (&F)"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("View (&V)"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("Info (&I)"));
    QAction* next = f->ff->findChild<QAction*>(QStringLiteral("next_picture"));
    QAction* previous = f->ff->findChild<QAction*>(QStringLiteral("previous_picture"));
    const QList<QAction*> keyed{f->fo, next, previous, f->fx, f->iu};
    QStringList file;
    for (QAction* a : f->ff->actions()) {
        EXPECT_EQ(a->shortcut().isEmpty(), !keyed.contains(a)) << a->text().toStdString();
        EXPECT_FALSE(a->isSeparator());
        if (a->isVisible()) file << a->text(); // "Recovered workbooks (&W)" only when there are
    }
    EXPECT_EQ(file, (QStringList{"Open picture (&O)", "Next picture (&N)", "Previous picture (&V)",
                                 "Open recent (&R)", "Open scale defi (&P)", "Save picture (&S)",
                                 "Save scale defi(&L)", "Open workbook (&B)", "Exit (&X)"}));
    EXPECT_EQ(f->fo->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(next->shortcut(), QKeySequence(QStringLiteral("Ctrl+PgDown")));
    EXPECT_EQ(previous->shortcut(), QKeySequence(QStringLiteral("Ctrl+PgUp")));
    EXPECT_EQ(f->fx->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(f->iu->shortcut(), QKeySequence(Qt::Key_F1));
    QStringList info;
    for (QAction* a : f->ii->actions())
        info << a->text();
    EXPECT_EQ(info, (QStringList{"Tutorial (&U)", "Version (&V)"}));
    EXPECT_EQ(f->fo->objectName(), QStringLiteral("fo"));
    EXPECT_EQ(f->iv->objectName(), QStringLiteral("iv"));
}

TEST_F(StartUp, OverlaysDrawAsTheInverseExceptTheCrossHair) {
    for (LineObject* line : {f->L_m[0], f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1, f->Line_scale,
                             f->Line_ax0, f->Line_ax1, f->Line_eq})
        EXPECT_EQ(line->mode(), DrawMode::NotXor);
    EXPECT_EQ(f->L_trace_x->mode(), DrawMode::Copy);
    EXPECT_EQ(f->L_trace_y->mode(), DrawMode::Copy);
}

} // namespace
