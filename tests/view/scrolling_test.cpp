// SPDX-License-Identifier: MIT
#include "view_fixture.h"

#include "view/scroll_fit.h"
#include "view/scrolling.h"
#include "view/zoom_anchor.h"

#include <QSignalSpy>

#include <QStyle>
#include <QStyleOptionSlider>

namespace {

struct FitCase {
    int shown, viewport, was_value, was_maximum;
    bool enabled;
    int maximum, arrow, page, value;
};

TEST(ScrollFit, RangesStepsAndPositionFollowTheHiddenLength) {
    const FitCase cases[] = {
        {1000, 600, 0, 1, true, 400, 20, 80, 0},        // the usual case
        {612, 600, 0, 1, true, 12, 12, 2, 0},           // 12 / 5 = 2.4
        {603, 600, 0, 1, true, 3, 3, 3, 0},             // below both thresholds
        {601, 600, 0, 1, true, 1, 1, 1, 0},             // steps never below 1
        {650, 600, 0, 1, true, 50, 2, 10, 0},           // 50 / 20 = 2.5 rounds to even
        {670, 600, 0, 1, true, 70, 4, 14, 0},           // 70 / 20 = 3.5 rounds to even
        {1400, 600, 200, 400, true, 800, 40, 160, 400}, // half-way stays half-way
        {1000, 600, 1, 3, true, 400, 20, 80, 133},      // 133.33
        {1000, 600, 5, 0, true, 400, 20, 80, 0},        // a remembered 0 is no divisor
        {1000, 600, 9, 4, true, 400, 20, 80, 400},      // never past the end
        {600, 600, 100, 200, false, 0, 1, 1, 0},        // fits exactly: no bar
        {10, 600, 100, 200, false, 0, 1, 1, 0},
        {40000, 1600, 1, 2, true, 38400, 1920, 7680, 19200}, // beyond 16 bits
    };
    for (const FitCase& c : cases) {
        const ScrollFit fit = fit_scroll_bar(c.shown, c.viewport, c.was_value, c.was_maximum);
        SCOPED_TRACE(testing::Message() << c.shown << " in " << c.viewport);
        EXPECT_EQ(fit.enabled, c.enabled);
        if (!c.enabled) continue;
        EXPECT_EQ(fit.maximum, c.maximum);
        EXPECT_EQ(fit.arrow_step, c.arrow);
        EXPECT_EQ(fit.page_step, c.page);
        EXPECT_EQ(fit.value, c.value);
    }
}

// The client area that gives a viewport of `viewport` (the fixed parts take
// 138 x 20 pixels).
QSize client_for(QSize viewport) {
    return viewport + QSize(138, 20);
}

using Scrolling = ViewTest;

TEST_F(Scrolling, APictureWiderThanTheViewportGetsAHorizontalBar) {
    show_window(client_for({600, 400}));
    ASSERT_EQ(f->P_out->size(), QSize(600, 400));
    open(save_picture_file(test_picture(1000, 300), "wide.bmp"));
    EXPECT_TRUE(f->HS_main->isEnabled());
    EXPECT_EQ(f->HS_main->minimum(), 0);
    EXPECT_EQ(f->HS_main->maximum(), 400);
    EXPECT_EQ(f->HS_main->singleStep(), 20);
    EXPECT_EQ(f->HS_main->pageStep(), 80);
    EXPECT_FALSE(f->VS_main->isEnabled());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));

    // An arrow step, a page step, the end: the picture follows the value.
    f->HS_main->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f->P_in->x(), -20);
    f->HS_main->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(f->P_in->x(), -100);
    f->HS_main->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f->P_in->x() + f->P_in->width(), f->P_out->width());
    f->HS_main->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(f->P_in->x(), 0);
}

TEST_F(Scrolling, AZoomStepKeepsTheViewAtTheSameRelativePlace) {
    show_window(client_for({600, 400}));
    // 1000 x 800 at 100%: 400 and 400 hidden; at 140%, 800 and 720.
    open(save_picture_file(test_picture(1000, 800), "big.bmp"));
    f->HS_main->setValue(200);
    f->VS_main->setValue(100);
    ASSERT_EQ(f->P_in->pos(), QPoint(-200, -100));
    click_times(f->L_in, 4);
    ASSERT_EQ(f->P_in->size(), QSize(1400, 1120));
    EXPECT_EQ(f->HS_main->maximum(), 800);
    EXPECT_EQ(f->HS_main->value(), 400);
    EXPECT_EQ(f->VS_main->maximum(), 720);
    EXPECT_EQ(f->VS_main->value(), 180);
    EXPECT_EQ(f->P_in->pos(), QPoint(-400, -180));
    EXPECT_EQ(f->HS_main->singleStep(), 40);
    EXPECT_EQ(f->HS_main->pageStep(), 160);
}

TEST_F(Scrolling, WhenThePictureFitsAgainTheBarsAreOffAndItReturnsToTheCorner) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(700, 500), "p.bmp"));
    f->HS_main->setValue(f->HS_main->maximum());
    f->VS_main->setValue(50);
    ASSERT_EQ(f->P_in->pos(), QPoint(-100, -50));
    click_times(f->L_out, 2); // 560 x 400
    EXPECT_FALSE(f->HS_main->isEnabled());
    EXPECT_FALSE(f->VS_main->isEnabled());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
    // Back in, the bars start from the corner, not from where they were.
    click_times(f->L_in, 3);
    EXPECT_TRUE(f->HS_main->isEnabled());
    EXPECT_EQ(f->HS_main->value(), 0);
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(Scrolling, DraggingTheThumbMovesThePictureAtEveryStep) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(3000, 300), "long.bmp"));
    QScrollBar* bar = f->HS_main;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = false;
    option.state |= QStyle::State_Horizontal;
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, bar);
    ASSERT_FALSE(thumb.isEmpty());
    QPoint at = thumb.center();
    pointer::press(bar, Qt::LeftButton, at);
    int last = f->P_in->x();
    for (int step = 0; step < 5; ++step) {
        at += QPoint(20, 0);
        pointer::move(bar, at, Qt::LeftButton);
        EXPECT_LT(f->P_in->x(), last) << "step " << step;
        EXPECT_EQ(f->P_in->x(), -bar->sliderPosition());
        last = f->P_in->x();
    }
    pointer::release(bar, Qt::LeftButton, at);
    EXPECT_EQ(f->P_in->x(), -bar->value());
}

TEST_F(Scrolling, TheWheelScrollsThroughTheBars) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(1000, 1000), "square.bmp"));
    // A notch towards the user scrolls down a tenth of the viewport.
    turn_wheel(f->P_in, QPoint(0, -120));
    EXPECT_EQ(f->VS_main->value(), 40);
    EXPECT_EQ(f->P_in->y(), -40);
    // Half notches add up.
    turn_wheel(f->P_in, QPoint(0, -60));
    turn_wheel(f->P_in, QPoint(0, -60));
    EXPECT_EQ(f->VS_main->value(), 80);
    // With Shift it scrolls sideways; over the viewport around the picture too.
    turn_wheel(f->P_out, QPoint(0, -240), Qt::ShiftModifier);
    EXPECT_EQ(f->HS_main->value(), 120);
    EXPECT_EQ(f->P_in->x(), -120);
    // Over the scale bar's label, a child of the picture area, as well.
    ASSERT_TRUE(f->L_div->isVisible());
    turn_wheel(f->L_div, QPoint(0, 120));
    EXPECT_EQ(f->VS_main->value(), 40);
    // At the end of the range it stops there.
    turn_wheel(f->P_in, QPoint(0, 120 * 20));
    EXPECT_EQ(f->VS_main->value(), 0);
    EXPECT_EQ(f->P_in->y(), 0);
}

TEST_F(Scrolling, TheWheelMovesNothingWhileThePictureFits) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(300, 200), "small.bmp"));
    turn_wheel(f->P_in, QPoint(0, -360));
    turn_wheel(f->P_in, QPoint(0, -360), Qt::ShiftModifier);
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(Scrolling, CtrlWheelZoomsOneStepPerNotchUnderTheButtonsRules) {
    show_window();
    auto ctrl_wheel = [&](QWidget* over, int angle) {
        turn_wheel(over, QPoint(0, angle), Qt::ControlModifier);
        settle_wheel();
    };
    ctrl_wheel(f->P_in, 120);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%")); // no picture yet
    open(save_picture_file(test_picture(200, 100), "p.bmp"));
    ctrl_wheel(f->P_in, 240);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("120%"));
    EXPECT_EQ(f->P_in->size(), QSize(240, 120));
    ctrl_wheel(f->P_out, -60);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("120%"));
    ctrl_wheel(f->P_out, -60);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    f->Check_zlock->setChecked(true);
    ctrl_wheel(f->P_in, 360);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    f->Check_zlock->setChecked(false);
    ctrl_wheel(f->P_in, 120 * 60);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("510%"));
}

// The picture moves under a pointer that stays where it is: the cross-hair,
// the live line and the results follow to the picture's new place under it,
// so a press that follows without a move fixes what the labels show.
TEST_F(Scrolling, AScrollUnderAStillPointerMovesTheMeasurementWithIt) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(3000, 2000), "large.bmp"));
    pointer::move(f->P_in, QPoint(100, 100));
    pointer::click(f->P_in, Qt::LeftButton, QPoint(100, 100));
    pointer::move(f->P_in, QPoint(400, 300));
    turn_wheel(f->P_in, QPoint(0, -120), {}, QPoint(400, 300)); // down by 40
    ASSERT_EQ(f->P_in->y(), -40);
    EXPECT_EQ(f->L_d->X2(), 400.0f);
    EXPECT_EQ(f->L_d->Y2(), 340.0f);
    EXPECT_EQ(f->L_trace_x->Y1(), 340.0f);
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("240.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("384.19"));
    pointer::click(f->P_in, Qt::LeftButton, QPoint(400, 340));
    EXPECT_EQ(f->L_x1->Y1(), 340.0f);
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("384.19"));

    // A chain, scrolled a page sideways as a click on the bar's track does.
    pointer::click(f->Option_tracer[1]);
    pointer::click(f->P_in, Qt::LeftButton, QPoint(100, 340));
    pointer::move(f->P_in, QPoint(450, 330));
    ASSERT_EQ(f->L_m.at(1)->X2(), 450.0f);
    f->HS_main->triggerAction(QAbstractSlider::SliderPageStepAdd); // 480 to the right
    ASSERT_EQ(f->P_in->x(), -480);
    EXPECT_EQ(f->L_m.at(1)->X2(), 930.0f);
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("830.00"));
}

TEST(ZoomAnchor, ThePointUnderThePointerStaysAsFarAsTheRangeAllows) {
    const struct {
        double pointer;
        int value, old_size, new_size, maximum, expected;
    } cases[] = {
        {100, 0, 1000, 1100, 500, 10},     // 110 of the new area lie left of the pointer
        {300, 200, 1000, 2000, 1400, 700}, // doubled: 500 becomes 1000
        {200, 300, 2000, 1800, 1200, 250}, // out: 500 becomes 450
        {50, 0, 1000, 900, 300, 0},        // would be -5: the left edge
        {600, 400, 1000, 1100, 450, 450},  // would be 500: the right edge
        {300, 0, 600, 660, 0, 0},          // still fits: nothing to scroll
        {10, 5, 0, 100, 50, 0},            // no area before: nothing to keep
    };
    for (const auto& c : cases)
        EXPECT_EQ(anchored_scroll_value(c.pointer, c.value, c.old_size, c.new_size, c.maximum),
                  c.expected)
            << c.pointer << " " << c.value << " " << c.old_size << "->" << c.new_size;
}

TEST_F(Scrolling, ABurstOfCtrlNotchesIsShownOnceAroundThePointer) {
    show_window(client_for({600, 400}));
    open(save_picture_file(test_picture(2000, 1000), "big.bmp"));
    f->HS_main->setValue(300);
    f->VS_main->setValue(100);
    // The pointer at (200, 150) of the viewport is over picture pixel (500, 250).
    QSignalSpy shown(f->P_in, &PictureBox::resized);
    const QPointF pointer = f->P_in->mapFrom(f->P_out, QPointF(200, 150));
    for (int i = 0; i < 3; ++i)
        turn_wheel(f->P_in, QPoint(0, 120), Qt::ControlModifier, pointer);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%")) << "nothing shown while the wheel turns";
    settle_wheel();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("130%"));
    EXPECT_EQ(f->HS_main->value(), 450); // 500 x 1.3 - 200
    EXPECT_EQ(f->VS_main->value(), 175); // 250 x 1.3 - 150
}

} // namespace
