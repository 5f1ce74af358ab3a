// SPDX-License-Identifier: MIT
// The readout in the status bar and the magnifier, which follow the pointer
// over the picture.

#include "kelvo_fixture.h"

#include "app/main_window.h"
#include "form/view_room.h"
#include "view/magnifier_control.h"
#include "view/pointer_place.h"
#include "view/pointer_readout.h"
#include "view/zoom.h"
#include "widgets/magnifier.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

class PointerAids : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
        open(save_picture_file(picture, "p.bmp"));
    }
    void TearDown() override {
        magnifier_item()->setChecked(false); // the choice is kept in the settings
        KelvoTest::TearDown();
    }
    QString readout() const { return f->findChild<QLabel*>("pointer_readout")->text(); }
    QAction* magnifier_item() const { return f->findChild<QAction*>("view_magnifier"); }
    const Magnifier& inset() const { return *f->findChild<Magnifier*>(); }
    QRgb at_cross() const { return inset().view().pixel(Magnifier::cross, Magnifier::cross); }
    // The readout and the magnifier follow at most once a frame.
    void move(float x, float y) {
        pointer::move(f->P_in, QPointF(x, y));
        auto* place = f->findChild<PointerPlace*>();
        EXPECT_TRUE(QTest::qWaitFor([place] { return !place->pending(); }, 2000));
    }
    void leave() {
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(f->P_in, &left);
    }
    const QImage picture = test_picture(200, 100);
};

TEST_F(PointerAids, ReadoutShowsThePicturePixelAndTheAngleOfTheLineBeingDrawn) {
    ASSERT_EQ(show_zoom(f->view_room(), 200), QString());
    move(25, 15);
    EXPECT_EQ(readout(), QStringLiteral("x 12.5  y 7.5"));
    pointer::click(f->P_in, Qt::LeftButton, {25, 15});
    move(35, 5); // up and to the right
    EXPECT_EQ(readout(), QStringLiteral("x 17.5  y 2.5  angle 45.0\u00B0"));
    pointer::click(f->P_in, Qt::LeftButton, {35, 5}); // the line is done
    move(30, 31);
    EXPECT_EQ(readout(), QStringLiteral("x 15.0  y 15.5"));
    pointer::click(f->Option_tracer[1]);
    pointer::click(f->P_in, Qt::LeftButton, {30, 31});
    move(30, 41); // a chain's live element, straight down
    EXPECT_TRUE(readout().endsWith(QStringLiteral("angle -90.0\u00B0")));
    pointer::move(f->P_in, {41, 19}, Qt::NoButton, Qt::ShiftModifier); // snapped: up and right
    EXPECT_TRUE(QTest::qWaitFor([&] { return readout().endsWith("angle 45.0\u00B0"); }, 2000));
    leave();
    EXPECT_EQ(readout(), QString());
    ASSERT_EQ(show_zoom(f->view_room(), 510), QString());
    move(770, 51); // the last screen column of pixel 150 (150.98); the first row of pixel 10
    EXPECT_EQ(readout(), QStringLiteral("x 150.9  y 10.0"));
}

TEST(PointerReadout, AnglesRunCounterClockwiseFromTheRightWithScreenYDown) {
    const struct {
        QPointF to;
        const char* angle;
    } cases[] = {{{10, 0}, "0.0"},        {{3, -4}, "53.1"},       {{0, -10}, "90.0"},
                 {{-10, 0}, "180.0"},     {{0, 10}, "-90.0"},      {{10, 0.001}, "0.0"},
                 {{-10, 0.001}, "180.0"}, {{-10, -0.001}, "180.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(readout_text({1, 2}, segment_angle({0, 0}, c.to)),
                  QStringLiteral("x 1.0  y 2.0  angle %1\u00B0").arg(QLatin1String(c.angle)))
            << c.to.x() << ", " << c.to.y();
    EXPECT_EQ(segment_angle({5, 5}, {5, 5}), std::nullopt);
}

TEST_F(PointerAids, KeyMShowsThePicturesOwnPixelsBesideThePointerAndTheChoiceIsKept) {
    EXPECT_FALSE(magnifier_item()->isChecked());
    move(50.5f, 60.25f);
    EXPECT_FALSE(inset().isVisible());
    QTest::keyClick(f.get(), Qt::Key_M);
    ASSERT_TRUE(magnifier_item()->isChecked());
    ASSERT_TRUE(inset().isVisible());
    // Eight inset pixels to a picture pixel, the point at the cross.
    EXPECT_EQ(at_cross(), picture.pixel(50, 60));
    EXPECT_EQ(inset().view().pixel(Magnifier::cross - 8, Magnifier::cross + 1),
              picture.pixel(49, 60));
    EXPECT_EQ(inset().view().pixel(Magnifier::cross + 3, Magnifier::cross + 6),
              picture.pixel(50, 61));
    const QPoint pointer = f->P_in->mapTo(f->P_out, QPoint(50, 60));
    EXPECT_FALSE(inset().geometry().adjusted(-16, -16, 16, 16).contains(pointer));
    leave();
    EXPECT_FALSE(inset().isVisible());
    const std::unique_ptr<F_main> next_run = make_main_window(dialogs, XlsApplication::factory());
    EXPECT_TRUE(next_run->findChild<QAction*>("view_magnifier")->isChecked());
}

TEST_F(PointerAids, BelowFullSizeTheMagnifierReadsTheKeptPictureElseSaysItShowsTheScreens) {
    magnifier_item()->setChecked(true);
    ASSERT_EQ(show_zoom(f->view_room(), 50), QString());
    QImage full = picture;
    full.invertPixels(); // not what the file holds
    f->full_picture = full;
    move(25.25f, 10.5f); // picture point (50.5, 21)
    EXPECT_EQ(at_cross(), full.pixel(50, 21));
    EXPECT_EQ(inset().note(), QString());
    f->full_picture = QImage();
    move(25.25f, 10.5f);
    EXPECT_EQ(at_cross(), f->P_in->picture().pixel(25, 10));
    EXPECT_EQ(inset().note(), QStringLiteral("pixels as shown at 50%"));
}

TEST(MagnifierPlace, AboveRightOfThePointerOrAcrossWhereTheViewportEnds) {
    const QSize viewport(800, 600);
    EXPECT_EQ(inset_place({100, 300}, viewport, 160, 24), QPoint(124, 116));
    EXPECT_EQ(inset_place({700, 300}, viewport, 160, 24), QPoint(516, 116));
    EXPECT_EQ(inset_place({100, 50}, viewport, 160, 24), QPoint(124, 74));
}

} // namespace
