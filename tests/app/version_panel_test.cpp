// SPDX-License-Identifier: MIT
// The version panel of the Info menu.

#include "kelvo_fixture.h"

#include "app/version_panel.h"
#include "form/numbers.h"

#include <QAction>
#include <QSet>
#include <QTest>

namespace {

using VersionPanel = KelvoTest;

TEST_F(VersionPanel, VersionShowsThePanelCentredInTheViewportAboveThePicture) {
    show_window(QSize(800, 600));
    open(save_picture_file(test_picture(700, 500), QStringLiteral("big.bmp")));
    f->P_vers->move(0, 0);
    f->iv->trigger();

    EXPECT_TRUE(f->P_vers->isVisible());
    const QSize inner = f->P_out->contentsRect().size();
    ASSERT_GT(inner.width(), 353);
    ASSERT_GT(inner.height(), 209);
    EXPECT_EQ(f->P_vers->pos(), QPoint(round_to_int((inner.width() - 353) / 2.0),
                                       round_to_int((inner.height() - 209) / 2.0)));
    EXPECT_EQ(f->P_vers->size(), QSize(353, 209));
    // Drawn over the picture area, which shares the viewport.
    EXPECT_EQ(f->P_out->childAt(f->P_vers->geometry().center()), f->Img);
}

TEST_F(VersionPanel, ASmallerViewportOffsetsThePanelRightAndDown) {
    show_window(QSize(800, 600));
    f->P_out->resize(300, 150); // 53 narrower, 59 lower than the panel
    f->iv->trigger();
    EXPECT_EQ(f->P_vers->pos(), QPoint(26, 30)) << "26.5 and 29.5 to the even neighbour";
    f->P_out->resize(301, 151);
    f->iv->trigger();
    EXPECT_EQ(f->P_vers->pos(), QPoint(26, 29)) << "26 and 29 exactly";
}

TEST_F(VersionPanel, AClickOnThePictureOrOnThePanelHidesIt) {
    show_window(QSize(800, 600));
    f->iv->trigger();
    ASSERT_TRUE(f->P_vers->isVisible());
    pointer::click(f->Img, Qt::LeftButton, QPoint(160, 90));
    EXPECT_FALSE(f->P_vers->isVisible());

    f->iv->trigger();
    ASSERT_TRUE(f->P_vers->isVisible());
    pointer::click(f->P_vers, Qt::LeftButton, QPoint(4, 4)); // its border
    EXPECT_FALSE(f->P_vers->isVisible());
}

TEST_F(VersionPanel, TheVersionPictureIsA320By180TrueColourPictureOfTheVersion) {
    EXPECT_EQ(f->Img->geometry(), QRect(16, 15, 320, 180));
    ASSERT_TRUE(f->Img->has_picture());
    const QImage& picture = f->Img->picture();
    EXPECT_EQ(picture.size(), QSize(320, 180));
    EXPECT_EQ(picture.depth(), 24);
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3)
        for (int x = 0; x < picture.width(); x += 3)
            colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 50) << "a drawn picture, not a plain fill";
    EXPECT_EQ(version_picture(), picture) << "the same picture every run";
}

} // namespace
