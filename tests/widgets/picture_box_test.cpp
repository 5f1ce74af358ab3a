// SPDX-License-Identifier: MIT
#include "pointer.h"
#include "widgets/picture_box.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(PictureBox, TakesThePictureSizeAndKeepsItWhenEmptied) {
    PictureBox box;
    box.set_picture(solid(40, 30, qRgb(1, 2, 3)));
    EXPECT_EQ(box.size(), QSize(40, 30));
    box.clear_picture();
    EXPECT_FALSE(box.has_picture());
    EXPECT_EQ(box.size(), QSize(40, 30));
}

TEST(PictureBox, ADoubleClickIsOnePressThenOneDoubleClick) {
    PictureBox box;
    box.set_picture(solid(50, 50, qRgb(0, 0, 0)));
    box.show();
    QSignalSpy downs(&box, &PictureBox::mouseDown);
    QSignalSpy doubles(&box, &PictureBox::dblClick);
    const QPoint at(10, 12);
    pointer::double_click(&box, Qt::LeftButton, at);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(downs[0][0].toInt(), 1);
    EXPECT_FLOAT_EQ(downs[0][1].toFloat(), 10.0f);
    EXPECT_FLOAT_EQ(downs[0][2].toFloat(), 12.0f);
}

TEST(PictureBox, ButtonsAreReportedAsOneTwoAndFour) {
    PictureBox box;
    box.resize(20, 20);
    box.show();
    QSignalSpy downs(&box, &PictureBox::mouseDown);
    pointer::press(&box, Qt::RightButton, QPoint(1, 1));
    pointer::press(&box, Qt::MiddleButton, QPoint(1, 1));
    ASSERT_EQ(downs.count(), 2);
    EXPECT_EQ(downs[0][0].toInt(), 2);
    EXPECT_EQ(downs[1][0].toInt(), 4);
}

TEST(PictureBox, MovesAreReportedWithoutAButtonHeld) {
    PictureBox box;
    box.resize(20, 20);
    box.show();
    QSignalSpy moves(&box, &PictureBox::mouseMove);
    pointer::move(&box, QPoint(5, 6));
    ASSERT_GE(moves.count(), 1);
    EXPECT_FLOAT_EQ(moves.last()[0].toFloat(), 5.0f);
    EXPECT_FLOAT_EQ(moves.last()[1].toFloat(), 6.0f);
}

TEST(PictureBox, NotXorLinesShowTheInverseAndCopyLinesTheirColour) {
    PictureBox box;
    box.set_picture(solid(30, 30, qRgb(10, 100, 200)));
    LineObject* inverse = box.create_line(DrawMode::NotXor, colours::black);
    inverse->set_points(0, 5, 30, 5);
    inverse->show();
    LineObject* copy = box.create_line(DrawMode::Copy, rgb_colour(255, 17, 17));
    copy->set_points(7, 0, 7, 30);
    copy->show();
    LineObject* hidden = box.create_line(DrawMode::Copy, rgb_colour(0, 255, 0));
    hidden->set_points(0, 20, 30, 20);
    const QImage shot = box.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 5)), QColor(245, 155, 55));
    EXPECT_EQ(QColor(shot.pixel(7, 15)), QColor(255, 17, 17));
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(10, 100, 200));
    EXPECT_EQ(QColor(shot.pixel(20, 10)), QColor(10, 100, 200));
}

TEST(PictureBox, DestroyedLinesDisappear) {
    PictureBox box;
    box.set_picture(solid(30, 30, qRgb(10, 100, 200)));
    LineObject* line = box.create_line(DrawMode::NotXor, colours::black);
    line->set_points(0, 5, 30, 5);
    line->show();
    EXPECT_EQ(box.line_count(), 1u);
    box.destroy_line(line);
    EXPECT_EQ(box.line_count(), 0u);
    EXPECT_EQ(QColor(box.grab().toImage().pixel(20, 5)), QColor(10, 100, 200));
}

TEST(PictureBox, MagnifiedPictureShowsEachPixelAsABlock) {
    PictureBox box;
    QImage picture(4, 2, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y)
            picture.setPixel(x, y, qRgb(x * 60, y * 100, 7));
    box.set_picture_magnified(picture, QSize(20, 10));
    EXPECT_EQ(box.size(), QSize(20, 10));
    EXPECT_TRUE(box.magnified());
    const QImage shot = box.grab().toImage();
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y)
            ASSERT_EQ(QColor(shot.pixel(x, y)), QColor(picture.pixel(x / 5, y / 5)))
                << x << "," << y;
}

// Records the rectangles a box is asked to repaint.
class DamageProbe : public PictureBox {
  public:
    QRegion painted;

  protected:
    void paintEvent(QPaintEvent* event) override {
        painted += event->region();
        PictureBox::paintEvent(event);
    }
};

TEST(PictureBox, MovingALineRepaintsOnlyItsOldAndNewStrips) {
    DamageProbe box;
    box.set_picture(solid(400, 300, qRgb(50, 50, 50)));
    box.show();
    LineObject* hair = box.create_line(DrawMode::Copy, colours::black);
    hair->set_points(0, 10, 400, 10);
    hair->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box.painted.isEmpty(); }, 1000));
    QCoreApplication::processEvents();
    box.painted = QRegion();
    // Y1 then Y2, as the handlers set them: the band in between is never painted.
    hair->set_Y1(250);
    hair->set_Y2(250);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.painted.contains(QPoint(200, 250)); }, 2000));
    EXPECT_TRUE(box.painted.contains(QPoint(200, 10)));
    EXPECT_TRUE(box.painted.contains(QPoint(200, 250)));
    EXPECT_FALSE(box.painted.contains(QPoint(200, 130)));
}

// The pixels not-xor lines invert on a white picture, row by row.
QList<QPoint> inverted_by(const QList<QLineF>& lines) {
    PictureBox box;
    box.set_picture(solid(20, 20, qRgb(255, 255, 255)));
    for (const QLineF& l : lines) {
        LineObject* line = box.create_line(DrawMode::NotXor, colours::black);
        line->set_points(float(l.x1()), float(l.y1()), float(l.x2()), float(l.y2()));
        line->show();
    }
    const QImage shot = box.grab().toImage();
    QList<QPoint> pixels;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (shot.pixel(x, y) != qRgb(255, 255, 255)) pixels << QPoint(x, y);
    return pixels;
}

TEST(PictureBox, LinesCoverTheirFirstPointAndStopOneShortOfTheLast) {
    const struct {
        QList<QLineF> lines;
        QList<QPoint> covered;
    } cases[] = {
        {{QLineF(5, 15, 5, 10)}, {{5, 11}, {5, 12}, {5, 13}, {5, 14}, {5, 15}}}, // a tick
        {{QLineF(5, 10, 5, 15)}, {{5, 10}, {5, 11}, {5, 12}, {5, 13}, {5, 14}}},
        {{QLineF(9, 3, 5.6f, 3.4f)}, {{7, 3}, {8, 3}, {9, 3}}}, // ends rounded to pixels
        {{QLineF(4, 4, 4, 4)}, {}},                             // no length, nothing
        {{QLineF(2, 2, 8, 5)}, {{2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4}}},
        {{QLineF(8, 5, 2, 2)}, {{8, 5}, {7, 5}, {6, 4}, {5, 4}, {4, 3}, {3, 3}}},
        // A chain's joint is inverted once.
        {{QLineF(1, 1, 4, 1), QLineF(4, 1, 4, 3)}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}},
    };
    for (const auto& c : cases) {
        QList<QPoint> wanted = c.covered;
        std::sort(wanted.begin(), wanted.end(), [](QPoint a, QPoint b) {
            return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
        });
        EXPECT_EQ(inverted_by(c.lines), wanted)
            << c.lines.first().x1() << "," << c.lines.first().y1();
    }
}

} // namespace
