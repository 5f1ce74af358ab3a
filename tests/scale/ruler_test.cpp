// SPDX-License-Identifier: MIT
// A cross-check against the geometry of a drawn ruler: calibrated on it at one
// zoom, lengths measured at any other zoom and scroll position read what the
// ruler says, and so does the scale bar.
#include "form/measure_room.h"
#include "kelvo_fixture.h"

#include "form/numbers.h"
#include "form/view_mapping.h"
#include "form/view_room.h"
#include "measure/pointer_input.h"
#include "view/zoom.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>

namespace {

// A ruler with a tick every millimetre, 5 picture pixels apart, its zero at x = 20.
constexpr int px_per_mm = 5;
constexpr int zero_x = 20;
int mm_at(int mm) {
    return zero_x + px_per_mm * mm;
}

QImage ruler_picture() {
    QImage image(1000, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(zero_x, 200, mm_at(190), 200);
    for (int mm = 0; mm <= 190; ++mm)
        p.drawLine(mm_at(mm), 200, mm_at(mm), 200 - (mm % 10 == 0 ? 12 : 6));
    return image;
}

class Ruler : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window({800, 600});
        open(save_picture_file(ruler_picture(), "ruler.bmp"));
        ASSERT_EQ(f->P_in->size(), QSize(1000, 400));
    }
    int zoom() const { return round_to_int(view_mapping(*f).percent); }
    void zoom_to(int percent) {
        while (zoom() < percent)
            L_in_Click(f->view_room());
        while (zoom() > percent)
            L_out_Click(f->view_room());
        ASSERT_EQ(zoom(), percent);
    }
    // A picture pixel as shown at the current zoom.
    float shown(int picture_px) const { return float(picture_px) * float(zoom()) / 100.0f; }

    void calibrate_on(int from_mm, int to_mm) {
        f->Command_set->click();
        P_in_MouseDown(f->measure_room(), 1, shown(mm_at(from_mm)), shown(200));
        P_in_MouseDown(f->measure_room(), 1, shown(mm_at(to_mm)), shown(200));
        ASSERT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
        QTest::keyClicks(f->Text_scale, QString::number(to_mm - from_mm));
        QTest::keyClick(f->Text_scale, Qt::Key_Return);
    }
    // Measures from one picture point to another, ending the line there.
    void measure(QPoint from, QPoint to) {
        P_in_MouseDown(f->measure_room(), 1, shown(from.x()), shown(from.y()));
        P_in_MouseMove(f->measure_room(), shown(to.x()), shown(to.y()));
        P_in_MouseDown(f->measure_room(), 1, shown(to.x()), shown(to.y()));
    }
    // The bar stands 10 pixels inside the visible right edge and 20 above the
    // visible bottom, and measuring along it reads its label.
    void expect_bar_agrees() {
        const int visible_right = std::min(f->P_in->width(), f->P_out->width() - f->P_in->x());
        const int visible_bottom = std::min(f->P_in->height(), f->P_out->height() - f->P_in->y());
        EXPECT_EQ(f->Line_ax1->X1(), float(visible_right - 10));
        EXPECT_EQ(f->Line_ax1->Y2(), float(visible_bottom - 20));
        const float y = f->Line_eq->Y1();
        P_in_MouseDown(f->measure_room(), 1, f->Line_ax0->X1(), y);
        P_in_MouseMove(f->measure_room(), f->Line_ax1->X1(), y);
        P_in_MouseDown(f->measure_room(), 1, f->Line_ax1->X1(), y);
        EXPECT_NEAR(leading_number(f->Lb_x->text()), leading_number(f->L_div->text()), 0.01)
            << "bar " << f->Lb_x->text().toStdString() << " label "
            << f->L_div->text().toStdString();
    }
};

TEST_F(Ruler, LengthsMeasuredAtEveryZoomReadWhatTheRulerSays) {
    for (int calibration_zoom : {100, 300, 40}) {
        SCOPED_TRACE(testing::Message() << "calibrated at " << calibration_zoom << "%");
        f->unit_per_px = 1.0f;
        zoom_to(calibration_zoom);
        calibrate_on(0, 100);
        EXPECT_EQ(f->unit_per_px, 0.2f); // 100 mm over 500 picture pixels
        for (int z : {100, 50, 170, 510, 10}) {
            SCOPED_TRACE(testing::Message() << "measured at " << z << "%");
            zoom_to(z);
            measure({mm_at(10), 200}, {mm_at(70), 200});
            EXPECT_EQ(f->Lb_x->text(), QStringLiteral("60.00"));
            EXPECT_EQ(f->Lb_y->text(), QStringLiteral(".00"));
            EXPECT_EQ(f->Lb_d->text(), QStringLiteral("60.00"));
            // 240 across and 320 down: a 400-pixel diagonal, 80 mm.
            measure({mm_at(0), 40}, {mm_at(48), 360});
            EXPECT_EQ(f->Lb_x->text(), QStringLiteral("48.00"));
            EXPECT_EQ(f->Lb_y->text(), QStringLiteral("64.00"));
            EXPECT_EQ(f->Lb_d->text(), QStringLiteral("80.00"));
        }
    }
}

TEST_F(Ruler, TheScaleBarAgreesWithMeasuringAtEveryZoomAndScrollPosition) {
    calibrate_on(0, 100);
    for (int z : {100, 10, 40, 230, 510}) {
        SCOPED_TRACE(testing::Message() << "at " << z << "%");
        zoom_to(z);
        expect_bar_agrees();
        if (!f->HS_main->isEnabled()) continue;
        for (double at : {0.5, 1.0}) {
            f->HS_main->setValue(int(f->HS_main->maximum() * at));
            if (f->VS_main->isEnabled()) f->VS_main->setValue(int(f->VS_main->maximum() * at));
            expect_bar_agrees();
        }
    }
}

} // namespace
