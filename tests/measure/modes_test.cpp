// SPDX-License-Identifier: MIT
#include "form/measure_room.h"
#include "measuring_fixture.h"

#include "measure/chain.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QRadioButton>

namespace {

using Modes = Measuring;

TEST_F(Modes, StartUpLeavesSingleLineReadyWithAGreyCrossHair) {
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_TRUE(grey());
    EXPECT_EQ(f->seg_count, 0);
    EXPECT_EQ(f->L_m.size(), 1u);
    EXPECT_TRUE(f->Option_tracer[0]->isChecked());
}

TEST_F(Modes, MultiLinesHidesTheSingleLineAndKeepsResultsAndColour) {
    left({10, 10});
    move({40, 50});
    left({40, 50});
    pointer::click(f->Option_tracer[1]);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    EXPECT_FALSE(f->L_d->visible() || f->L_x0->visible() || f->L_y0->visible() ||
                 f->L_x1->visible() || f->L_y1->visible());
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
    EXPECT_TRUE(red());

    left({100, 100});
    EXPECT_EQ(f->seg_count, 1);
    EXPECT_TRUE(element(1)->visible());
}

TEST_F(Modes, SingleLineUnloadsTheChainAndLeavesItsTotals) {
    pointer::click(f->Option_tracer[1]);
    left({10, 10});
    left({40, 50});
    left({90, 50});
    const std::size_t lines = f->P_in->line_count();
    pointer::click(f->Option_tracer[0]);
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_EQ(f->seg_count, 0);
    EXPECT_EQ(f->P_in->line_count(), lines - 3);
    EXPECT_EQ(f->sum_d, 100.0f) << "unloading the chain leaves the totals";

    clear_segments(f->measure_room()); // on an empty chain: nothing
    EXPECT_EQ(f->P_in->line_count(), lines - 3);
    EXPECT_EQ(f->sum_d, 100.0f);
}

TEST_F(Modes, SelectingInCodeRunsTheHandlerAsAClickWould) {
    f->Option_tracer[1]->setChecked(true);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    left({10, 10});
    f->Option_tracer[0]->setChecked(true);
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_EQ(f->seg_count, 0);
}

TEST_F(Modes, WhileHideLinesIsTickedAChoiceChangesNothing) {
    left({10, 10});
    f->Check_hideline->setChecked(true);
    pointer::click(f->Option_tracer[1]);
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_EQ(f->seg_count, 0);

    f->Option_tracer[2]->show(); // "free hand" measures nothing even when reachable
    f->Check_hideline->setChecked(false);
    Option_tracer_Click(f->measure_room(), MeasuringMode::single);
    left({10, 10});
    pointer::click(f->Option_tracer[2]);
    EXPECT_TRUE(f->Option_tracer[2]->isChecked());
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_TRUE(f->L_d->visible());
}

TEST_F(Modes, TheCrossHairSpansThePictureAreaAndTheGuidesOnlyWhileShown) {
    f->L_x1->set_X2(7);
    f->P_in->resize(640, 480);
    EXPECT_EQ(f->L_trace_x->X1(), 0.0f);
    EXPECT_EQ(f->L_trace_x->X2(), 640.0f);
    EXPECT_EQ(f->L_trace_y->Y2(), 480.0f);
    EXPECT_EQ(f->L_x1->X2(), 7.0f) << "hidden guides are left alone";

    left({30, 20});
    f->P_in->resize(300, 200);
    for (LineObject* across : {f->L_x0, f->L_x1})
        EXPECT_EQ(across->X2(), 300.0f);
    for (LineObject* down : {f->L_y0, f->L_y1})
        EXPECT_EQ(down->Y2(), 200.0f);
    EXPECT_EQ(f->L_x0->Y1(), 20.0f);
    EXPECT_EQ(f->L_y0->X1(), 30.0f);
}

TEST_F(Modes, AnExportedResultStaysGreenUntilTheNextPress) {
    left({10, 10});
    left({20, 20});
    set_trace_green(f->measure_room());
    move({50, 50});
    EXPECT_TRUE(green());
    left({60, 60});
    EXPECT_TRUE(grey());
}

TEST_F(Modes, ClickingAResultMarksItRedAndAgainBlackPairByPair) {
    pointer::click(f->Lx);
    EXPECT_EQ(f->Lx->fore_colour(), 255u);
    EXPECT_EQ(f->Lb_x->fore_colour(), 255u);
    EXPECT_EQ(f->Lb_y->fore_colour(), colours::window_text);

    pointer::click(f->Lb_x);
    EXPECT_EQ(f->Lx->fore_colour(), 0u);
    EXPECT_EQ(f->Lb_x->fore_colour(), 0u);

    pointer::click(f->Ld);
    EXPECT_EQ(f->Lb_d->fore_colour(), 255u);
    EXPECT_EQ(f->Lb_x->fore_colour(), 0u);
    pointer::click(f->Lb_y);
    pointer::click(f->Ly);
    EXPECT_EQ(f->Ly->fore_colour(), 0u);
    EXPECT_EQ(f->Lb_d->fore_colour(), 255u);
    EXPECT_EQ(f->Ld->fore_colour(), 255u);
}

// As on the picture area, a double-click is one click and one double-click:
// a result toggles once, "in" steps once.
TEST_F(Modes, ADoubleClickOnALabelButtonActsAsOneClick) {
    pointer::double_click(f->Lb_x);
    EXPECT_EQ(f->Lb_x->fore_colour(), 255u);
    EXPECT_EQ(f->Lx->fore_colour(), 255u);
    pointer::double_click(f->L_in);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
}

// A value wider than its label is painted whole in a smaller size, never cut
// at the left; one that fits keeps the design font.
TEST_F(Modes, AResultTooWideForItsLabelShowsWholeInASmallerSize) {
    f->Lb_d->setText(QStringLiteral("361250.00"));
    const QFont shown = f->Lb_d->shown_font();
    EXPECT_LT(shown.pointSizeF(), f->Lb_d->font().pointSizeF());
    EXPECT_LE(QFontMetricsF(shown, f->Lb_d).horizontalAdvance(f->Lb_d->text()),
              f->Lb_d->contentsRect().width());
    // The first digit's ink begins inside the label, not at its cut edge.
    const QImage shot = f->Lb_d->grab().toImage();
    int left = shot.width();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < left; ++x)
            if (qGray(shot.pixel(x, y)) < 128) left = x;
    EXPECT_GT(left, 0);
    f->Lb_d->setText(QStringLiteral("61250.00"));
    EXPECT_EQ(f->Lb_d->shown_font(), f->Lb_d->font());
}

} // namespace
