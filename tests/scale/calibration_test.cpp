// SPDX-License-Identifier: MIT
// Calibrating: a reference line of known length sets the scale, converts the
// shown results and hands the pointer back to measuring.
#include "form/measure_room.h"
#include "form/view_mapping.h"
#include "kelvo_fixture.h"

#include "measure/pointer_input.h"
#include "measure/result_panel.h"
#include "scale/calibration.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class Calibration : public KelvoTest {
  protected:
    // Puts the cycle where the length is typed, as the pointer handlers leave
    // it: Line_scale from (x1, y1) to (x2, y2), shown, Text_scale empty.
    void await_length(float x1, float y1, float x2, float y2) {
        f->Line_scale->set_points(x1, y1, x2, y2);
        f->Line_scale->show();
        f->Command_set->setText(QStringLiteral("set scale as..."));
        f->Text_scale->clear();
    }
    void type_and_confirm_with_button(const QString& length) {
        f->Text_scale->setText(length);
        f->Command_set->click();
    }
    void type_and_press_enter(const QString& length) {
        f->Text_scale->setText(length);
        QTest::keyClick(f->Text_scale, Qt::Key_Return);
    }
    void show_results(const char* x, const char* y, const char* d) {
        f->Lb_x->setText(QLatin1String(x));
        f->Lb_y->setText(QLatin1String(y));
        f->Lb_d->setText(QLatin1String(d));
    }
};

TEST_F(Calibration, TwoHundredPixelsTypedAsTenGivesFiveHundredthsAtAnyZoom) {
    // 120 across and 160 down: 200 pixels.
    await_length(10, 20, 130, 180);
    type_and_confirm_with_button(QStringLiteral("10"));
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_FALSE(f->Line_scale->visible());
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("10")); // the typed text stays

    // The same feature at 200% is 400 pixels on screen.
    f->unit_per_px = 1.0f;
    set_view_zoom(*f, 200);
    await_length(20, 40, 260, 360);
    type_and_press_enter(QStringLiteral("10"));
    EXPECT_EQ(f->unit_per_px, 0.05f);

    // And at 10% it is 20 pixels.
    f->unit_per_px = 1.0f;
    set_view_zoom(*f, 10);
    await_length(5, 5, 17, 21);
    type_and_press_enter(QStringLiteral("10 mm"));
    EXPECT_EQ(f->unit_per_px, 0.05f);
}

TEST_F(Calibration, ConfirmingConvertsTheShownResultsFromTheirTexts) {
    show_results("120.00", "160.00", "200.00");
    await_length(0, 0, 200, 0);
    type_and_press_enter(QStringLiteral("10"));
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("6.00"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("8.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("10.00"));

    // The conversion starts from the two-decimal text: .01 at 1/3 becomes
    // .01 × 3 = .03, not a re-measured value.
    f->unit_per_px = 1.0f;
    show_results(".01", ".50", "1.00");
    await_length(0, 0, 3, 0);
    type_and_press_enter(QStringLiteral("9"));
    EXPECT_EQ(f->unit_per_px, 3.0f);
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral(".03"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("1.50"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("3.00"));
}

TEST_F(Calibration, NoUsableLengthChangesNoNumberButEndsTheCycleAndSaysWhy) {
    const struct {
        const char* typed;
        float x2; // the line runs from (50, 50) to (x2, 50)
        const char* said;
    } cases[] = {{"", 250, "no length was typed"},
                 {"abc", 250, "\"abc\" does not begin with a number"},
                 {",5", 250, "\",5\" does not begin with a number"},
                 {"0", 250, "the length typed is 0"},
                 {"0,5", 250, "\"0,5\" is read as 0: use a point for decimals"},
                 {"10", 50, "the reference line has no length"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        show_results("3.00", "4.00", "5.00");
        await_length(50, 50, c.x2, 50);
        type_and_confirm_with_button(QLatin1String(c.typed));
        EXPECT_EQ(f->unit_per_px, 1.0f);
        EXPECT_EQ(f->Lb_x->text(), QStringLiteral("3.00"));
        EXPECT_EQ(f->Lb_d->text(), QStringLiteral("5.00"));
        EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
        EXPECT_FALSE(f->Line_scale->visible());
        EXPECT_EQ(f->status_text(), QStringLiteral("Scale not changed: %1.").arg(c.said));
    }
    // A comma stops the number, and the scale in force says what was read.
    await_length(0, 0, 200, 0);
    type_and_press_enter(QStringLiteral("1,5"));
    EXPECT_EQ(f->unit_per_px, 0.005f);
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale: 0.005 per pixel (from 200.0 px = 1,5); "
                                               "read as 1: use a point for decimals"));
}

TEST_F(Calibration, ALengthGivingNoUsableScaleIsRefusedAndSaidSo) {
    const struct {
        const char* typed;
        const char* reason;
    } cases[] = {{"1e-60", "too close to zero"},
                 {"1e-40", "too close to zero"},
                 {"1e40", "too large"},
                 {"1e999", "infinite"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        show_results("3.00", "4.00", "5.00");
        await_length(0, 0, 200, 0);
        type_and_press_enter(QLatin1String(c.typed));
        EXPECT_EQ(f->unit_per_px, 1.0f);
        EXPECT_EQ(f->Lb_d->text(), QStringLiteral("5.00"));
        EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
        EXPECT_TRUE(f->status_text().contains(QLatin1String(c.reason)))
            << f->status_text().toStdString();
        EXPECT_TRUE(f->status_text().contains(QLatin1String(c.typed) + " over 200.0 px"));
    }
    // A usable length afterwards replaces the refusal with the scale in force.
    await_length(0, 0, 200, 0);
    type_and_press_enter(QStringLiteral("10"));
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale: 0.05 per pixel (from 200.0 px = 10)"));
}

TEST_F(Calibration, TheMessageShowsTheLengthAsTypedAndTheScaleInFull) {
    const struct {
        const char* typed;
        float line_px;
        const char* said;
    } cases[] = {
        {"361250.37", 200, "Scale: 1806.2518 per pixel (from 200.0 px = 361250.37)"},
        {"99999999", 1, "Scale: 100000000 per pixel (from 1.0 px = 99999999)"},
        {" 12.50 mm", 200, "Scale: 0.0625 per pixel (from 200.0 px = 12.50 mm)"},
        {"1e-28", 10, "Scale: 1e-29 per pixel (from 10.0 px = 1e-28)"},
    };
    for (const auto& c : cases) {
        await_length(0, 0, c.line_px, 0);
        type_and_press_enter(QLatin1String(c.typed));
        EXPECT_EQ(f->status_text(), QLatin1String(c.said)) << c.typed;
        // The scale shown reads back as the one in force.
        EXPECT_EQ(QString::fromLatin1(c.said).section(u' ', 1, 1).toFloat(), f->unit_per_px);
    }
}

TEST_F(Calibration, ANegativeLengthIsTakenAsTyped) {
    show_results("120.00", "160.00", "200.00");
    await_length(0, 0, 200, 0);
    type_and_press_enter(QStringLiteral("-10"));
    EXPECT_EQ(f->unit_per_px, -0.05f);
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("-6.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("-10.00"));
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale: -0.05 per pixel (from 200.0 px = -10)"));
}

TEST_F(Calibration, EnterOutsideSetScaleAsDoesNothingAndReachesNoText) {
    QSignalSpy returns(f->Text_scale, &QLineEdit::returnPressed);
    f->Line_scale->set_points(0, 0, 200, 0);
    for (const char* step : {"set kelvo", "point start", "point end"}) {
        SCOPED_TRACE(step);
        f->Command_set->setText(QLatin1String(step));
        f->Text_scale->setText(QStringLiteral("10"));
        QTest::keyClick(f->Text_scale, Qt::Key_Return);
        QTest::keyClick(f->Text_scale, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(f->Command_set->text(), QLatin1String(step));
        EXPECT_EQ(f->unit_per_px, 1.0f);
        EXPECT_EQ(f->Text_scale->text(), QStringLiteral("10"));
    }
    // Confirming swallows the key too.
    f->Command_set->setText(QStringLiteral("set scale as..."));
    QTest::keyClick(f->Text_scale, Qt::Key_Return);
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(returns.count(), 0);

    // Every other key is typed as usual.
    f->Text_scale->clear();
    QTest::keyClicks(f->Text_scale, QStringLiteral("12.5 mm"));
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("12.5 mm"));
}

TEST_F(Calibration, TheButtonStepsThroughTheCycleAndClearsTheSingleLine) {
    // A finished single line is on show.
    f->m_state = MeasuringState::line_done;
    for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1})
        line->show();
    f->Command_set->click();
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point start"));
    EXPECT_FALSE(f->L_trace_x->visible());
    EXPECT_FALSE(f->L_trace_y->visible());
    for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1})
        EXPECT_FALSE(line->visible());
    EXPECT_EQ(f->m_state, MeasuringState::line_done);

    // Waiting for a point, a click only clears: the cycle cannot be left.
    f->Command_set->click();
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point start"));
    f->Command_set->setText(QStringLiteral("point end"));
    f->L_d->show();
    f->Command_set->click();
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point end"));
    EXPECT_FALSE(f->L_d->visible());
    EXPECT_EQ(f->unit_per_px, 1.0f);
}

TEST_F(Calibration, PointerPressesPlaceTheReferenceLineThenEnterCompletesIt) {
    show_window();
    open(save_picture_file(test_picture(400, 300), "feature.bmp"));
    f->Lb_d->setText(QStringLiteral("200.00"));
    pointer::click(f->Command_set);
    ASSERT_EQ(f->Command_set->text(), QStringLiteral("point start"));
    pointer::press(f->P_in, Qt::LeftButton, QPoint(30, 40));
    pointer::release(f->P_in, Qt::LeftButton, QPoint(30, 40));
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point end"));
    pointer::move(f->P_in, QPoint(100, 100));
    EXPECT_EQ(f->Line_scale->X2(), 100.0f);
    EXPECT_FALSE(f->L_trace_x->visible()); // the cross-hair stays hidden meanwhile
    // Any button places the end: 120 across, 160 down.
    pointer::press(f->P_in, Qt::RightButton, QPoint(150, 200));
    pointer::release(f->P_in, Qt::RightButton, QPoint(150, 200));
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
    EXPECT_TRUE(f->Text_scale->text().isEmpty());
    EXPECT_TRUE(f->Line_scale->visible());

    QTest::keyClicks(f->Text_scale, QStringLiteral("10"));
    QTest::keyClick(f->Text_scale, Qt::Key_Return);
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("10.00"));
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_FALSE(f->Line_scale->visible());
    EXPECT_TRUE(f->L_trace_x->visible());
    EXPECT_TRUE(f->L_trace_y->visible());
    EXPECT_EQ(f->m_state, MeasuringState::no_start);

    // Measuring right away shows the typed length along the same feature.
    P_in_MouseDown(f->measure_room(), 1, 30, 40);
    P_in_MouseMove(f->measure_room(), 150, 200);
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("10.00"));
}

TEST_F(Calibration, TheFirstPointKeepsItsPicturePixelThroughZoomStepsUntilANewPicture) {
    show_window();
    open(save_picture_file(test_picture(400, 300), "feature.bmp"));
    pointer::click(f->Command_set);
    pointer::click(f->P_in, Qt::LeftButton, QPoint(30, 40));
    pointer::move(f->P_in, QPoint(60, 60));
    // In to 120% and back to 110%, the second point placed there: the feature
    // of 120 x 160 picture pixels is 132 x 176 on screen.
    pointer::click(f->L_in);
    pointer::click(f->L_in);
    pointer::click(f->L_out);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    EXPECT_FLOAT_EQ(f->Line_scale->X1(), 33.0f);
    EXPECT_FLOAT_EQ(f->Line_scale->Y1(), 44.0f);
    pointer::click(f->P_in, Qt::LeftButton, QPoint(165, 220));
    // And once more in before the length is typed.
    pointer::click(f->L_in);
    QTest::keyClicks(f->Text_scale, QStringLiteral("10"));
    QTest::keyClick(f->Text_scale, Qt::Key_Return);
    EXPECT_FLOAT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale: 0.05 per pixel (from 200.0 px = 10)"));

    // Another picture opened half-way ends the calibration and says so.
    pointer::click(f->Command_set);
    pointer::click(f->P_in, Qt::LeftButton, QPoint(30, 40));
    open(save_picture_file(test_picture(200, 100), "other.bmp"));
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_FALSE(f->Line_scale->visible());
    EXPECT_TRUE(f->L_trace_x->visible());
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("Calibration ended")));
}

TEST_F(Calibration, WithHideLinesTickedConfirmingLeavesMeasuringAlone) {
    f->Check_hideline->click(); // hides the cross-hair
    f->m_state = MeasuringState::start_fixed;
    await_length(0, 0, 200, 0);
    type_and_confirm_with_button(QStringLiteral("10"));
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_FALSE(f->L_trace_x->visible());
    EXPECT_FALSE(f->L_trace_y->visible());
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
}

TEST_F(Calibration, ConfirmingInMultiLinesEmptiesTheChainWhicheverWayItWasConfirmed) {
    show_window();
    open(save_picture_file(test_picture(400, 300), "chain.bmp"));
    f->Option_tracer[1]->click();
    ASSERT_EQ(f->m_state, MeasuringState::chain_open);
    for (bool by_enter : {false, true}) {
        SCOPED_TRACE(by_enter ? "Enter" : "button");
        f->Command_set->click(); // "point start"; the chain is cleared
        P_in_MouseDown(f->measure_room(), 1, 0, 0);
        P_in_MouseDown(f->measure_room(), 1, 200, 0);
        ASSERT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
        // While the length is awaited presses measure again: a chain grows.
        P_in_MouseDown(f->measure_room(), 1, 10, 10);
        P_in_MouseMove(f->measure_room(), 50, 10);
        P_in_MouseDown(f->measure_room(), 1, 50, 10);
        P_in_MouseMove(f->measure_room(), 50, 40);
        ASSERT_GT(f->seg_count, 0);
        ASSERT_GT(f->sum_d, 0.0f);
        f->unit_per_px = 1.0f;
        if (by_enter)
            type_and_press_enter(QStringLiteral("10"));
        else
            type_and_confirm_with_button(QStringLiteral("10"));
        EXPECT_EQ(f->unit_per_px, 0.05f);
        EXPECT_EQ(f->seg_count, 0);
        EXPECT_EQ(f->sum_x, 0.0f);
        EXPECT_EQ(f->sum_d, 0.0f);
        EXPECT_EQ(f->m_state, MeasuringState::chain_open);
        EXPECT_TRUE(f->L_trace_x->visible());
    }
}

} // namespace
