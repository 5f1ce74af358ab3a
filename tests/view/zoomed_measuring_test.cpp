// SPDX-License-Identifier: MIT
#include "form/view_mapping.h"
#include "view_fixture.h"

namespace {

using MeasuringAtAZoom = ViewTest;

// Lengths are picture pixels times the scale, whatever the zoom: a distance on
// screen is multiplied by 100 / zoom.
TEST_F(MeasuringAtAZoom, AtTwoHundredAndAtFiftyPercentLengthsAreInPicturePixels) {
    show_picture(400, 300);
    click_times(f->L_in, 10);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("200%"));
    move_and_press(20, 40);
    move_and_press(80, 120); // 60 x 80 on screen: 30 x 40 picture pixels
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("30.00"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("40.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("50.00"));

    click(f->L_even);
    click_times(f->L_out, 5);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("50%"));
    ASSERT_EQ(f->P_in->size(), QSize(200, 150));
    f->unit_per_px = 0.5f;
    move_and_press(10, 10);
    move_and_press(40, 50); // 30 x 40 on screen: 60 x 80 picture pixels, times 0.5
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("30.00"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("40.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("50.00"));
}

TEST_F(MeasuringAtAZoom, At510PercentAPointCanSitBetweenPicturePixels) {
    show_picture(200, 100);
    set_view_zoom(*f, 500);
    click(f->L_in);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("510%"));
    // From the middle of picture pixel 5 to a quarter into picture pixel 7:
    // 8.925 screen pixels, 1.75 picture pixels.
    move_and_press(28.05f, 10.2f);
    move_and_press(36.975f, 10.2f);
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("1.75"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral(".00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("1.75"));
}

} // namespace
