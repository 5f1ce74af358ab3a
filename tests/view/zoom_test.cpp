// SPDX-License-Identifier: MIT
#include "form/view_mapping.h"
#include "view_fixture.h"

#include "view/zoom.h"

#include <QCheckBox>
#include <QFile>

namespace {

using Zoom = ViewTest;

TEST_F(Zoom, FiveClicksOnInShow150PercentAsA300x150Area) {
    show_picture(200, 100);
    click_times(f->L_in, 5);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("150%"));
    EXPECT_EQ(f->P_in->size(), QSize(300, 150));
    // Above 100% the area holds the picture at its own size and magnifies it.
    EXPECT_TRUE(f->P_in->magnified());
    EXPECT_EQ(f->P_in->picture().size(), QSize(200, 100));
    EXPECT_TRUE(f->P_sub->isHidden());
    EXPECT_FALSE(f->P_sub->has_picture());
}

TEST_F(Zoom, OutStopsAt10PercentWithoutClearingTheChain) {
    show_picture(400, 300);
    click_times(f->L_out, 9);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("10%"));
    EXPECT_EQ(f->P_in->size(), QSize(40, 30));
    EXPECT_FALSE(f->P_in->magnified());

    measure_a_chain();
    ASSERT_FALSE(chain_cleared());
    const qint32 elements = f->seg_count;
    const float total = f->sum_d;
    click(f->L_out);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("10%"));
    EXPECT_EQ(f->P_in->size(), QSize(40, 30));
    EXPECT_EQ(f->seg_count, elements);
    EXPECT_EQ(f->sum_d, total);
}

TEST_F(Zoom, InStopsAt510Percent) {
    show_picture(100, 50);
    set_view_zoom(*f, 500);
    click(f->L_in);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("510%"));
    EXPECT_EQ(f->P_in->size(), QSize(510, 255));
    measure_a_chain();
    click(f->L_in);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("510%"));
    EXPECT_EQ(f->P_in->size(), QSize(510, 255));
    EXPECT_FALSE(chain_cleared());
}

TEST_F(Zoom, ZoomLockAndNoPictureLeaveEverythingAlone) {
    show_window();
    for (ClickLabel* button : {f->L_in, f->L_out, f->L_even})
        click(button);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->size(), QSize(1, 1));

    open(save_picture_file(test_picture(200, 100), "p.bmp"));
    click(f->L_in);
    measure_a_chain();
    const qint32 elements = f->seg_count;
    f->Check_zlock->click();
    ASSERT_EQ(value(f->Check_zlock), 1);
    for (ClickLabel* button : {f->L_in, f->L_out, f->L_even})
        click(button);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    EXPECT_EQ(f->P_in->size(), QSize(220, 110));
    EXPECT_EQ(f->seg_count, elements);
}

TEST_F(Zoom, EveryButtonThatActsClearsTheChainUnlessHideLines) {
    show_picture(300, 200);
    for (ClickLabel* button : {f->L_in, f->L_out, f->L_even, f->L_even}) {
        measure_a_chain();
        ASSERT_FALSE(chain_cleared());
        click(button);
        EXPECT_TRUE(chain_cleared()) << button->objectName().toStdString();
        EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    }
    measure_a_chain();
    const qint32 elements = f->seg_count;
    f->Check_hideline->setChecked(true);
    click(f->L_in);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    EXPECT_EQ(f->seg_count, elements);
}

TEST_F(Zoom, OneToOneReloadsThePictureFromItsFile) {
    const QString file = show_picture(120, 80);
    click(f->Option_tracer[0]);
    move_and_press(10, 10);
    move_and_press(50, 30);
    ASSERT_TRUE(f->L_d->visible());
    // The file changes on disk: "1/1" at 100% shows it as it is now.
    const QImage changed = test_picture(90, 60).mirrored(true, false);
    ASSERT_TRUE(changed.save(file));
    click(f->L_even);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->picture(), changed);
    EXPECT_EQ(f->P_in->size(), QSize(90, 60));
    EXPECT_FALSE(f->L_d->visible());
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
}

TEST_F(Zoom, ZoomingInAndBackIsPixelIdenticalToThePictureAsOpened) {
    show_window();
    const QImage picture = test_picture(333, 201);
    for (const char* name : {"p.bmp", "p.jpg"}) {
        open(save_picture_file(picture, QString::fromLatin1(name)));
        const QImage opened = f->P_in->picture();
        click_times(f->L_in, 4);
        click_times(f->L_out, 7);
        click_times(f->L_in, 3);
        EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%")) << name;
        EXPECT_EQ(f->P_in->picture(), opened) << name;
        EXPECT_FALSE(f->P_in->magnified()) << name;
        click(f->L_out);
        click(f->L_even);
        EXPECT_EQ(f->P_in->picture(), opened) << name;
    }
}

// Every painted pixel of the area is the picture's, at sizes that are not whole.
TEST_F(Zoom, ThePaintedPictureFillsTheAreaAtFractionalSizes) {
    show_window();
    QImage red(333, 201, QImage::Format_RGB32);
    red.fill(qRgb(250, 0, 0));
    open(save_picture_file(red, "red.bmp"));
    hide_overlays();
    const struct {
        int steps;
        QSize area;
    } cases[] = {
        {+1, {366, 221}}, {-2, {300, 181}}, {-7, {67, 40}}, {+13, {500, 302}}, {+36, {1698, 1025}}};
    for (const auto& c : cases) {
        click_times(c.steps > 0 ? f->L_in : f->L_out, std::abs(c.steps));
        ASSERT_EQ(f->P_in->size(), c.area) << f->L_zval->text().toStdString();
        const QImage painted = f->P_in->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(painted.size(), c.area);
        int foreign = 0;
        for (int y = 0; y < painted.height(); ++y)
            for (int x = 0; x < painted.width(); ++x)
                if (qRed(painted.pixel(x, y)) < 240 || qGreen(painted.pixel(x, y)) > 10) ++foreign;
        EXPECT_EQ(foreign, 0) << f->L_zval->text().toStdString();
    }
}

// At 510% picture pixel x covers the area from 5.1 x to 5.1 (x + 1): a screen
// pixel shows the picture pixel under its top-left corner, the point a pointer
// over it reports. Grabbed from the scrolled viewport, as the user sees it.
TEST_F(Zoom, At510PercentEachPicturePixelShowsWhereTheZoomPutsIt) {
    show_window();
    const QImage picture = test_picture(200, 160);
    open(save_picture_file(picture, "grid.bmp"));
    set_view_zoom(*f, 500);
    click(f->L_in);
    ASSERT_EQ(f->P_in->size(), QSize(1020, 816));
    f->HS_main->setValue(97);
    f->VS_main->setValue(131);
    ASSERT_EQ(f->P_in->pos(), QPoint(-97, -131));
    hide_overlays();
    const QImage screen = f->P_out->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), f->P_out->size());
    int wrong = 0;
    for (int sy = 0; sy < screen.height(); ++sy)
        for (int sx = 0; sx < screen.width(); ++sx) {
            const int px = (sx + 97) * 10 / 51, py = (sy + 131) * 10 / 51;
            if (screen.pixel(sx, sy) != picture.pixel(px, py)) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    // Blocks are 5 or 6 screen pixels wide: picture column 20 starts at 102.
    EXPECT_EQ(screen.pixel(102 - 97, 0), picture.pixel(20, 131 * 10 / 51));
    EXPECT_EQ(screen.pixel(101 - 97, 0), picture.pixel(19, 131 * 10 / 51));
}

TEST_F(Zoom, AFileThatCanNoLongerBeReadLeavesViewAndZoomAsTheyWere) {
    const QString file = show_picture(200, 100);
    click(f->L_in);
    measure_a_chain();
    const QImage shown = f->P_in->picture();
    const qint32 elements = f->seg_count;

    ASSERT_TRUE(QFile::remove(file));
    for (ClickLabel* button : {f->L_in, f->L_out, f->L_even}) {
        click(button);
        EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
        EXPECT_EQ(f->P_in->size(), QSize(220, 110));
        EXPECT_EQ(f->P_in->picture(), shown);
        EXPECT_EQ(f->seg_count, elements);
        EXPECT_TRUE(f->status_text().contains(file)) << f->status_text().toStdString();
        EXPECT_TRUE(f->status_text().contains(QLatin1String("not found")));
    }

    QFile garbage(file);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is no longer a picture");
    garbage.close();
    f->report(QString());
    click(f->L_out);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    EXPECT_EQ(f->P_in->picture(), shown);
    EXPECT_EQ(f->pic_path, file);
    EXPECT_TRUE(f->status_text().contains(file)) << f->status_text().toStdString();
}

TEST_F(Zoom, ATruncatedFileIsCaughtAfterItsHeaderAndChangesNothing) {
    const QString file = show_picture(300, 200, QStringLiteral("p.jpg"));
    const QImage shown = f->P_in->picture();
    QFile jpeg(file);
    ASSERT_TRUE(jpeg.open(QIODevice::ReadWrite));
    const QByteArray bytes = jpeg.readAll();
    ASSERT_TRUE(jpeg.resize(bytes.size() / 2));
    jpeg.close();
    click(f->L_in);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->picture(), shown);
    EXPECT_EQ(f->P_in->size(), QSize(300, 200));
    EXPECT_TRUE(f->status_text().contains(QLatin1String("truncated")))
        << f->status_text().toStdString();
}

TEST_F(Zoom, WithTheZoomLockANewPictureOpensAtTheZoomInForce) {
    show_picture(100, 100);
    click_times(f->L_in, 5);
    f->Check_zlock->setChecked(true);
    const QString second = save_picture_file(test_picture(200, 100), "second.bmp");
    open(second);
    EXPECT_EQ(f->pic_path, second);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("150%"));
    EXPECT_EQ(f->P_in->size(), QSize(300, 150));

    // A chosen file that is no picture keeps the picture shown and its path.
    const QImage shown = f->P_in->picture();
    QFile bad(path("bad.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    open(path("bad.jpg"));
    EXPECT_EQ(f->pic_path, second);
    EXPECT_EQ(f->P_in->picture(), shown);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("150%"));
    EXPECT_TRUE(f->status_text().contains(path("bad.jpg")));

    // Without the lock the next picture shows at its own size, at 100%.
    f->Check_zlock->setChecked(false);
    open(save_picture_file(test_picture(64, 32), "third.bmp"));
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->size(), QSize(64, 32));
}

} // namespace
