// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"

#include "app/layout.h"

#include <QFrame>
#include <QScrollBar>

namespace {

using Layout = KelvoTest;

TEST_F(Layout, An800x600WindowPlacesViewportBarsAndPanel) {
    show_window(QSize(800, 600));
    EXPECT_EQ(f->P_out->geometry(), QRect(5, 0, 662, 580));
    EXPECT_EQ(f->HS_main->geometry(), QRect(5, 580, 662, 15));
    EXPECT_EQ(f->VS_main->geometry(), QRect(667, 0, 15, 580));
    EXPECT_EQ(f->Frm_result->geometry(), QRect(682, 0, 113, 409));
    EXPECT_EQ(800 - f->Frm_result->geometry().right() - 1, 5);
    // The version panel (353 x 209) is centred in the viewport, halves to even.
    EXPECT_EQ(f->P_vers->pos(), QPoint(154, 186));
    EXPECT_EQ(f->P_vers->size(), QSize(353, 209));
    // No picture yet: both bars off, the 1 x 1 area in the corner.
    EXPECT_FALSE(f->HS_main->isEnabled());
    EXPECT_FALSE(f->VS_main->isEnabled());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(Layout, EveryResizeLaysTheWindowOutAgain) {
    show_window(QSize(800, 600));
    open(save_picture_file(test_picture(900, 700), "p.bmp"));
    EXPECT_TRUE(f->HS_main->isEnabled());
    EXPECT_EQ(f->HS_main->maximum(), 900 - 662);
    EXPECT_EQ(f->VS_main->maximum(), 700 - 580);
    f->HS_main->setValue(f->HS_main->maximum());

    show_window(QSize(1000, 700));
    EXPECT_EQ(f->P_out->geometry(), QRect(5, 0, 862, 680));
    EXPECT_EQ(f->Frm_result->pos(), QPoint(882, 0));
    EXPECT_EQ(f->P_vers->pos(), QPoint(254, 236)); // 254.5 to even, 235.5 to even
    // The bars follow the new viewport, still at the right end.
    EXPECT_EQ(f->HS_main->maximum(), 900 - 862);
    EXPECT_EQ(f->HS_main->value(), 900 - 862);
    EXPECT_EQ(f->P_in->x() + f->P_in->width(), f->P_out->width());
    EXPECT_EQ(f->VS_main->maximum(), 20);

    show_window(QSize(1200, 800));
    EXPECT_FALSE(f->HS_main->isEnabled());
    EXPECT_FALSE(f->VS_main->isEnabled());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(Layout, AMinimisedWindowKeepsPositiveSizesAndRaisesNoError) {
    show_window(QSize(800, 600));
    f->client->resize(0, 0);
    EXPECT_EQ(f->P_out->geometry(), QRect(5, 0, 138, 20));
    EXPECT_EQ(f->HS_main->geometry(), QRect(5, 20, 138, 15));
    EXPECT_EQ(f->VS_main->geometry(), QRect(143, 0, 15, 20));
    EXPECT_EQ(f->Frm_result->pos(), QPoint(158, 0));
    // A panel larger than the viewport sits right of and below its centre.
    EXPECT_EQ(f->P_vers->pos(), QPoint(108, 94)); // 107.5 and 94.5, halves to even
}

TEST_F(Layout, NothingIsPlacedBeforeStartUpHasRun) {
    show_window(QSize(800, 600));
    f->started = false;
    f->client->resize(400, 300);
    EXPECT_EQ(f->P_out->geometry(), QRect(5, 0, 662, 580));
    f->started = true;
    lay_out_window(*f);
    EXPECT_EQ(f->P_out->geometry(), QRect(5, 0, 262, 280));
}

} // namespace
