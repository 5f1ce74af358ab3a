// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

class OpenPicture : public KelvoTest {
  protected:
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        pointer::move(f->P_in, at);
        pointer::press(f->P_in, button, at);
        pointer::release(f->P_in, button, at);
    }
    bool cross_hair_grey() const {
        return f->L_trace_x->colour() == 7829367u && f->L_trace_y->colour() == 10066329u;
    }
    bool any_single_line_overlay_shown() const {
        for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1})
            if (line->visible()) return true;
        return false;
    }
    int chain_lines() const { return static_cast<int>(f->L_m.size()) - 1; }
};

TEST_F(OpenPicture, AChosenPictureShowsAtItsOwnSize) {
    const QImage picture = test_picture(300, 200);
    const QString file = save_picture_file(picture, "first.bmp");
    open(file);
    EXPECT_EQ(f->pic_path, file);
    EXPECT_EQ(f->P_in->size(), QSize(300, 200));
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->picture(), picture);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Open);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("Open data file"));
    EXPECT_EQ(dialogs.requests[0].pattern, QStringLiteral("*.bmp;*.jpg"));
}

TEST_F(OpenPicture, CancelChangesNothing) {
    show_window(QSize(800, 600));
    const QString file = save_picture_file(test_picture(1200, 900), "keep.bmp");
    open(file);
    EXPECT_EQ(f->status_text(), QStringLiteral("Opened keep.bmp, 1200 x 900"));
    pointer::click(f->L_in);
    ASSERT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    f->HS_main->setValue(f->HS_main->maximum() / 2);
    f->VS_main->setValue(f->VS_main->maximum());
    const QPoint place = f->P_in->pos();
    press({30, 40});
    press({90, 120});
    ASSERT_EQ(f->m_state, MeasuringState::line_done);
    const QString length = f->Lb_d->text();
    const QImage before = f->P_in->picture();

    dialogs.cancel();
    f->fo->trigger();
    EXPECT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(f->pic_path, file);
    EXPECT_EQ(f->P_in->size(), QSize(1320, 990));
    EXPECT_EQ(f->P_in->picture(), before);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("110%"));
    EXPECT_EQ(f->P_in->pos(), place);
    EXPECT_EQ(f->HS_main->value(), f->HS_main->maximum() / 2);
    EXPECT_EQ(f->VS_main->value(), f->VS_main->maximum());
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_TRUE(f->L_d->visible() && f->L_x1->visible());
    EXPECT_EQ(f->Lb_d->text(), length);
    EXPECT_EQ(f->status_text(), QStringLiteral("Opened keep.bmp, 1200 x 900"));
}

TEST_F(OpenPicture, OpeningEndsTheMeasurementInProgressOfEitherMode) {
    show_window(QSize(800, 600));
    open(save_picture_file(test_picture(400, 300), "first.bmp"));

    // Single line, finished: the cross-hair is red and all five lines show.
    press({10, 10});
    press({40, 50});
    ASSERT_EQ(f->m_state, MeasuringState::line_done);
    ASSERT_FALSE(cross_hair_grey());
    open(save_picture_file(test_picture(300, 200), "second.bmp"));
    EXPECT_FALSE(any_single_line_overlay_shown());
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_TRUE(cross_hair_grey());
    // The results stay until the next measurement.
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("50.00"));
    press({5, 5});
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed) << "the next click starts a new measurement";

    // Multi lines, a chain of two elements with its totals.
    f->Option_tracer[1]->click();
    press({10, 10});
    press({40, 50});
    press({40, 110});
    ASSERT_GT(chain_lines(), 0);
    ASSERT_NE(f->sum_d, 0.0f);
    open(save_picture_file(test_picture(200, 100), "third.bmp"));
    EXPECT_EQ(chain_lines(), 0);
    EXPECT_EQ(f->seg_count, 0);
    EXPECT_EQ(f->sum_x, 0.0f);
    EXPECT_EQ(f->sum_y, 0.0f);
    EXPECT_EQ(f->sum_d, 0.0f);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
}

TEST_F(OpenPicture, WithHideLinesTickedOpeningClearsNothingOfTheMeasurement) {
    show_window(QSize(800, 600));
    open(save_picture_file(test_picture(400, 300), "first.bmp"));
    f->Option_tracer[1]->click();
    press({10, 10});
    press({40, 50});
    f->Check_hideline->click();
    ASSERT_EQ(value(f->Check_hideline), 1);
    const MeasuringState state = f->m_state;
    const float totals[] = {f->sum_x, f->sum_y, f->sum_d};
    ASSERT_NE(totals[2], 0.0f);

    open(save_picture_file(test_picture(300, 200), "second.bmp"));
    EXPECT_EQ(f->P_in->size(), QSize(300, 200));
    EXPECT_EQ(f->m_state, state);
    EXPECT_EQ(f->sum_x, totals[0]);
    EXPECT_EQ(f->sum_y, totals[1]);
    EXPECT_EQ(f->sum_d, totals[2]);
}

TEST_F(OpenPicture, ASmallPictureAfterAScrolledOneSitsInTheCornerWithBothBarsOff) {
    show_window(QSize(800, 600));
    open(save_picture_file(test_picture(1500, 1000), "large.bmp"));
    f->HS_main->setValue(f->HS_main->maximum());
    f->VS_main->setValue(f->VS_main->maximum());
    ASSERT_NE(f->P_in->pos(), QPoint(0, 0));
    open(save_picture_file(test_picture(200, 150), "small.bmp"));
    EXPECT_EQ(f->P_in->size(), QSize(200, 150));
    EXPECT_FALSE(f->HS_main->isEnabled());
    EXPECT_FALSE(f->VS_main->isEnabled());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(OpenPicture, AFileThatIsNoPictureKeepsTheOldOneAndSaysWhy) {
    const QString good = save_picture_file(test_picture(64, 48), "good.jpg");
    open(good);
    const QImage before = f->P_in->picture();
    const QString bad = path("broken.jpg");
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF garbage that only starts like a JPEG");
    }
    open(bad);
    EXPECT_EQ(f->pic_path, good);
    EXPECT_EQ(f->P_in->picture(), before);
    EXPECT_TRUE(f->status_text().contains(bad)) << f->status_text().toStdString();
}

TEST_F(OpenPicture, APhotoCutShortKeepsALargePictureShown) {
    // Large enough (36 MB decoded) to be let go before the next is decoded.
    const QImage large = test_picture(3000, 3000);
    const QString good = save_picture_file(large, "large.bmp");
    open(good);
    ASSERT_EQ(f->P_in->size(), QSize(3000, 3000));
    const QString whole = save_picture_file(test_picture(3000, 3000), "whole.jpg");
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString cut = path("cut.jpg");
    {
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(in.readAll().left(in.size() / 3));
    }
    open(cut);
    EXPECT_EQ(f->pic_path, good);
    EXPECT_EQ(f->P_in->picture(), large);
    EXPECT_TRUE(f->status_text().contains(cut)) << f->status_text().toStdString();
}

TEST_F(OpenPicture, TheScaleAndTheResultsStayInForce) {
    f->unit_per_px = 0.43f;
    f->Text_scale->setText(QStringLiteral("0.43/pixel"));
    f->Lb_d->setText(QStringLiteral("12.00"));
    open(save_picture_file(test_picture(50, 50), "a.png"));
    EXPECT_EQ(f->unit_per_px, 0.43f);
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("0.43/pixel"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("12.00"));
}

} // namespace
