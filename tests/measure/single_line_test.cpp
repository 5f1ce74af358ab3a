// SPDX-License-Identifier: MIT
#include "form/measure_room.h"
#include "form/view_mapping.h"
#include "measuring_fixture.h"

#include "measure/modes.h"
#include "measure/trace_colours.h"

#include "measure/pointer_input.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

using SingleLine = Measuring;

TEST_F(SingleLine, TwoPressesAtHalfZoomAndHalfScaleRead30_40_50AndFreeze) {
    set_view_zoom(*f, 50);
    f->unit_per_px = 0.5f;

    left({10, 20});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_TRUE(f->L_d->visible() && f->L_x0->visible() && f->L_y0->visible());
    EXPECT_FALSE(f->L_x1->visible() || f->L_y1->visible());
    EXPECT_TRUE(grey());
    EXPECT_EQ(f->L_x0->Y1(), 20.0f);
    EXPECT_EQ(f->L_x0->X2(), 400.0f); // the start guides span the picture area
    EXPECT_EQ(f->L_y0->X1(), 10.0f);
    EXPECT_EQ(f->L_y0->Y2(), 300.0f);

    move({40, 60});
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
    EXPECT_EQ(f->L_d->X1(), 10.0f);
    EXPECT_EQ(f->L_d->Y2(), 60.0f);
    EXPECT_EQ(f->L_trace_x->Y1(), 60.0f);
    EXPECT_EQ(f->L_trace_y->X2(), 40.0f);

    left({40, 60});
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_TRUE(red());
    EXPECT_TRUE(f->L_x1->visible() && f->L_y1->visible());
    EXPECT_EQ(f->L_x1->Y2(), 60.0f);
    EXPECT_EQ(f->L_y1->X1(), 40.0f);
    EXPECT_EQ(f->focusWidget(), f->Command_excel);

    move({200, 150}); // frozen: only the cross-hair follows
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
    EXPECT_EQ(f->L_d->X2(), 40.0f);
    EXPECT_EQ(f->L_trace_x->Y1(), 150.0f);
}

TEST_F(SingleLine, ResultsUseTwoDecimalsWithoutLeadingZeroOrGrouping) {
    left({10, 10});
    move({13, 14});
    EXPECT_EQ(results(), reads("3.00", "4.00", "5.00"));
    P_in_MouseMove(f->measure_room(), 10.5f, 10.0f); // positions stay fractional
    EXPECT_EQ(results(), reads(".50", ".00", ".50"));

    set_view_zoom(*f, 10);
    move({160, 210});
    EXPECT_EQ(results(), reads("1500.00", "2000.00", "2500.00"));
}

// X and Y are single precision, D double: at seven-digit lengths they part
// in the decimals (1234567.82 held as a float is 1234567.875, seven digits).
TEST_F(SingleLine, LargeLengthsShowXInSingleAndDInDoublePrecision) {
    f->unit_per_px = 4115.2263f;
    left({10, 10});
    move({310, 10});
    EXPECT_EQ(results(), reads("1234568.00", ".00", "1234567.82"));
}

TEST_F(SingleLine, RightPressesUndoOneStepAtATime) {
    set_trace_green(f->measure_room());
    right();
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_TRUE(green()) << "a right press in state 0 leaves even the colour";

    left({10, 10});
    move({50, 40});
    left({50, 40});
    ASSERT_EQ(f->m_state, MeasuringState::line_done);

    right();
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_TRUE(grey());
    EXPECT_FALSE(f->L_x1->visible() || f->L_y1->visible());
    EXPECT_TRUE(f->L_d->visible());
    move({30, 10}); // live again from the same start point
    EXPECT_EQ(results(), reads("20.00", ".00", "20.00"));
    EXPECT_EQ(f->L_d->X2(), 30.0f);

    left({30, 10});
    right();
    right();
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_FALSE(f->L_d->visible() || f->L_x0->visible() || f->L_y0->visible());
    EXPECT_TRUE(grey());
}

TEST_F(SingleLine, ALeftPressOnAFinishedLineStartsANewOne) {
    left({10, 10});
    move({50, 40});
    left({50, 40});
    left({100, 200});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_TRUE(grey());
    EXPECT_FALSE(f->L_x1->visible() || f->L_y1->visible());
    EXPECT_TRUE(f->L_d->visible());
    EXPECT_EQ(f->L_d->X1(), 100.0f);
    EXPECT_EQ(f->L_d->Y2(), 200.0f);
    EXPECT_EQ(f->L_x0->Y1(), 200.0f);
    EXPECT_EQ(f->L_y0->X2(), 100.0f);
    EXPECT_EQ(results(), reads("40.00", "30.00", "50.00")) << "the press writes no result";
}

TEST_F(SingleLine, MiddlePressesNeverMeasureAndADoubleClickIsOnePress) {
    press(Qt::MiddleButton, {10, 10});
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_FALSE(f->L_d->visible());

    double_click({10, 10});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    press(Qt::MiddleButton, {60, 60});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    move({40, 50});
    double_click({40, 50});
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
}

TEST_F(SingleLine, WithCommentFocusTheFinishedLineHandsTheKeyboardToTheComment) {
    f->Check_focus->setChecked(true);
    left({10, 10});
    left({20, 20});
    EXPECT_EQ(f->focusWidget(), f->Text_comment);
}

TEST_F(SingleLine, HideLinesStopsPressesButTheResultsStillFollow) {
    left({10, 10});
    move({20, 20});
    f->Check_hideline->setChecked(true);
    const float hair_y = f->L_trace_x->Y1();

    move({40, 50});
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
    EXPECT_EQ(f->L_trace_x->Y1(), hair_y) << "the cross-hair stands still";

    left({40, 50});
    right();
    double_click({40, 50});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_FALSE(f->L_x1->visible());
}

TEST_F(SingleLine, CalibrationPressesPlaceTheReferenceLineOnly) {
    left({10, 10});
    move({30, 10});
    f->Command_set->setText(QStringLiteral("point start"));

    press(Qt::RightButton, {20, 30});
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point end"));
    EXPECT_TRUE(f->Line_scale->visible());
    EXPECT_EQ(f->Line_scale->X1(), 20.0f);
    EXPECT_EQ(f->Line_scale->Y2(), 30.0f);
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);

    const float hair_x = f->L_trace_y->X1();
    move({60, 90});
    EXPECT_EQ(f->Line_scale->X2(), 60.0f);
    EXPECT_EQ(f->Line_scale->Y2(), 90.0f);
    EXPECT_EQ(f->L_trace_y->X1(), hair_x) << "the cross-hair stands still";
    EXPECT_EQ(f->L_d->X2(), 30.0f);
    EXPECT_EQ(results(), reads("20.00", ".00", "20.00"));

    press(Qt::MiddleButton, {70, 80});
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
    EXPECT_EQ(f->Line_scale->X1(), 20.0f);
    EXPECT_EQ(f->Line_scale->X2(), 70.0f);
    EXPECT_EQ(f->Line_scale->Y2(), 80.0f);
    EXPECT_TRUE(f->Text_scale->text().isEmpty());
    EXPECT_EQ(f->focusWidget(), f->Text_scale);
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_EQ(f->L_d->X1(), 10.0f);

    left({50, 50}); // waiting for the length, presses measure again
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_EQ(f->Line_scale->X2(), 70.0f);
}

TEST_F(SingleLine, CalibrationPressesActWhileHideLinesStopsMeasuring) {
    f->Check_hideline->setChecked(true);
    f->Command_set->setText(QStringLiteral("point start"));
    left({20, 30});
    left({70, 80});
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
    EXPECT_EQ(f->Line_scale->X1(), 20.0f);
    EXPECT_EQ(f->Line_scale->Y2(), 80.0f);
    left({90, 90});
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_EQ(f->Line_scale->X2(), 70.0f);
}

} // namespace
