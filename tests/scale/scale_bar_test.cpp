// SPDX-License-Identifier: MIT
// The scale bar on the window: where it stands, its label, and the three
// "hide" boxes.
#include "form/measure_room.h"
#include "form/scale_room.h"
#include "form/view_mapping.h"
#include "kelvo_fixture.h"

#include "measure/pointer_input.h"
#include "scale/scale_bar.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>

namespace {

constexpr Colour grey = 8947848; // R=136, G=136, B=136

struct Bar {
    float left, right, top; // tick x's and the ticks' upper ends
    bool operator==(const Bar&) const = default;
};

class ScaleBar : public KelvoTest {
  protected:
    // The picture area and the viewport at the given sizes; a scroll bar is
    // enabled at `*_value` when the picture exceeds the viewport that way,
    // and disabled when the value is -1.
    void set_view(QSize picture, QSize viewport, int h_value, int v_value) {
        f->P_in->resize(picture);
        f->P_out->resize(viewport);
        set_bar(f->HS_main, picture.width() - viewport.width(), h_value);
        set_bar(f->VS_main, picture.height() - viewport.height(), v_value);
    }
    static void set_bar(QScrollBar* bar, int range, int at) {
        bar->setEnabled(at >= 0);
        if (at < 0) return;
        bar->setRange(0, range);
        bar->setValue(at);
    }
    Bar bar() const { return {f->Line_ax0->X1(), f->Line_ax1->X1(), f->Line_ax1->Y2()}; }
    // The three lines form one bar: ticks 5 tall, the bar one pixel above their feet.
    void expect_bar_shape() const {
        EXPECT_EQ(f->Line_ax0->X2(), f->Line_ax0->X1());
        EXPECT_EQ(f->Line_ax1->X2(), f->Line_ax1->X1());
        EXPECT_EQ(f->Line_ax0->Y2(), f->Line_ax1->Y2());
        EXPECT_EQ(f->Line_ax0->Y1(), f->Line_ax0->Y2() + 5);
        EXPECT_EQ(f->Line_ax1->Y1(), f->Line_ax1->Y2() + 5);
        EXPECT_EQ(f->Line_eq->X1(), f->Line_ax0->X1());
        EXPECT_EQ(f->Line_eq->X2(), f->Line_ax1->X1());
        EXPECT_EQ(f->Line_eq->Y1(), f->Line_ax1->Y2() + 4);
        EXPECT_EQ(f->Line_eq->Y2(), f->Line_eq->Y1());
    }
    // The label is as wide as its caption and centred under the bar.
    void expect_label_centred() const {
        EXPECT_EQ(f->L_div->width(), f->L_div->sizeHint().width());
        const float middle = (f->Line_ax0->X1() + f->Line_ax1->X1()) / 2;
        EXPECT_NEAR(f->L_div->x() + f->L_div->width() / 2.0, middle, 1.0);
        EXPECT_EQ(f->L_div->y(), int(f->Line_eq->Y1()));
    }
};

TEST_F(ScaleBar, StandsInTheBottomRightCornerOfWhatTheViewportShows) {
    set_view({1200, 900}, {500, 400}, 150, 300);
    draw_scale_bar(f->scale_room());
    // 500 visible pixels at 1 unit each: a division of 100, 100 pixels long,
    // its right tick 10 pixels inside the viewport's right edge.
    EXPECT_EQ(bar(), (Bar{540, 640, 680}));
    expect_bar_shape();
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));
    EXPECT_EQ(f->L_div->fore_colour(), grey);
    EXPECT_EQ(f->L_div->parentWidget(), f->P_in); // it scrolls with the picture
    expect_label_centred();

    // Scrolled to the far corner, and a scale giving a longer caption.
    f->unit_per_px = 0.05f;
    set_view({1200, 900}, {500, 400}, 700, 500);
    draw_scale_bar(f->scale_room());
    EXPECT_EQ(bar(), (Bar{990, 1190, 880}));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("10"));
    expect_label_centred();
}

TEST_F(ScaleBar, PictureNarrowerThanTheViewportTakesThePicturesOwnEdges) {
    set_view({300, 200}, {500, 400}, -1, -1);
    draw_scale_bar(f->scale_room());
    // 300 visible pixels: the window is 30 to 210, so 100 still fits.
    EXPECT_EQ(bar(), (Bar{190, 290, 180}));
    expect_bar_shape();

    // Wide but short: the right edge from the scroll bar, the foot from the picture.
    set_view({900, 200}, {500, 400}, 100, -1);
    set_view_zoom(*f, 200);
    draw_scale_bar(f->scale_room());
    // 0.5 units per shown pixel: 100 units are 200 pixels.
    EXPECT_EQ(bar(), (Bar{390, 590, 180}));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));
}

TEST_F(ScaleBar, NoFittingDivisionLeavesBarAndLabelAsTheyWere) {
    set_view({300, 200}, {500, 400}, -1, -1);
    draw_scale_bar(f->scale_room());
    const Bar before = bar();
    const QPoint label_at = f->L_div->pos();
    f->unit_per_px = -0.05f;
    set_view({600, 400}, {500, 400}, 50, -1);
    draw_scale_bar(f->scale_room());
    EXPECT_EQ(bar(), before);
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));
    EXPECT_EQ(f->L_div->pos(), label_at);
}

TEST_F(ScaleBar, HideDivisionFreezesTheBarThroughAZoomUntilUnticked) {
    set_view({300, 200}, {500, 400}, -1, -1);
    draw_scale_bar(f->scale_room());
    f->Check_hidedivisions->click();
    EXPECT_TRUE(f->L_div->isHidden());
    EXPECT_TRUE(f->Line_eq->visible());

    set_view_zoom(*f, 500);
    set_view({1500, 1000}, {500, 400}, 200, 100);
    draw_scale_bar(f->scale_room());
    EXPECT_EQ(bar(), (Bar{190, 290, 180}));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));

    // Unticking redraws at the new zoom: 0.2 units per shown pixel.
    f->Check_hidedivisions->click();
    EXPECT_FALSE(f->L_div->isHidden());
    EXPECT_EQ(bar(), (Bar{640, 690, 480}));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("10"));
    expect_label_centred();
}

TEST_F(ScaleBar, HideScaleHidesTheBarAndDisablesHideDivisionWhileTheLinesStillMove) {
    set_view({300, 200}, {500, 400}, -1, -1);
    draw_scale_bar(f->scale_room());
    const QPoint label_at = f->L_div->pos();
    f->Check_hidescale->click();
    for (LineObject* line : {f->Line_ax0, f->Line_ax1, f->Line_eq})
        EXPECT_FALSE(line->visible());
    EXPECT_TRUE(f->L_div->isHidden());
    EXPECT_FALSE(f->Check_hidedivisions->isEnabled());
    EXPECT_FALSE(f->Check_hidedivisions->isChecked());

    // The hidden lines follow the view; the label is neither moved nor rewritten.
    f->unit_per_px = 0.05f;
    set_view({1200, 900}, {500, 400}, 150, 300);
    draw_scale_bar(f->scale_room());
    EXPECT_EQ(bar(), (Bar{440, 640, 680}));
    EXPECT_EQ(f->L_div->text(), QStringLiteral("100"));
    EXPECT_EQ(f->L_div->pos(), label_at);

    f->Check_hidescale->click();
    for (LineObject* line : {f->Line_ax0, f->Line_ax1, f->Line_eq})
        EXPECT_TRUE(line->visible());
    EXPECT_TRUE(f->Check_hidedivisions->isEnabled());
    EXPECT_FALSE(f->L_div->isHidden());
    EXPECT_EQ(f->L_div->text(), QStringLiteral("10"));
    expect_label_centred();
}

TEST_F(ScaleBar, HideScaleOverHideDivisionMovesNothingAndKeepsTheLabelHidden) {
    set_view({300, 200}, {500, 400}, -1, -1);
    draw_scale_bar(f->scale_room());
    f->Check_hidedivisions->click();
    f->Check_hidescale->click();
    EXPECT_FALSE(f->Check_hidedivisions->isEnabled());
    EXPECT_TRUE(f->Check_hidedivisions->isChecked()); // keeps its value while disabled

    set_view({1200, 900}, {500, 400}, 150, 300);
    draw_scale_bar(f->scale_room());
    EXPECT_EQ(bar(), (Bar{190, 290, 180}));

    f->Check_hidescale->click();
    EXPECT_TRUE(f->Line_ax0->visible());
    EXPECT_TRUE(f->L_div->isHidden());
    EXPECT_EQ(bar(), (Bar{190, 290, 180})); // "hide division" still freezes it
}

TEST_F(ScaleBar, HideLinesHidesTheMeasurementButKeepsItsState) {
    // A single line with both ends fixed.
    f->m_state = MeasuringState::line_done;
    for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1})
        line->show();
    f->Check_hideline->click();
    EXPECT_FALSE(f->L_trace_x->visible());
    EXPECT_FALSE(f->L_trace_y->visible());
    for (LineObject* line : {f->L_d, f->L_x0, f->L_y0, f->L_x1, f->L_y1})
        EXPECT_FALSE(line->visible());
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_TRUE(f->Line_eq->visible()); // the bar is not a measuring overlay

    // Unticked, measuring starts afresh in the selected mode.
    f->Check_hideline->click();
    EXPECT_TRUE(f->L_trace_x->visible());
    EXPECT_TRUE(f->L_trace_y->visible());
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
}

TEST_F(ScaleBar, HideLinesEmptiesTheChainAndUntickingRestartsIt) {
    f->Option_tracer[1]->click();
    P_in_MouseDown(f->measure_room(), 1, 10, 10);
    P_in_MouseMove(f->measure_room(), 40, 50);
    P_in_MouseDown(f->measure_room(), 1, 40, 50);
    P_in_DblClick(f->measure_room());
    ASSERT_EQ(f->m_state, MeasuringState::chain_closed);
    ASSERT_GT(f->seg_count, 0);

    f->Check_hideline->click();
    EXPECT_EQ(f->seg_count, 0);
    EXPECT_EQ(f->m_state, MeasuringState::chain_closed);
    EXPECT_EQ(f->L_m.size(), 1u); // only the template is left

    f->Check_hideline->click();
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    EXPECT_EQ(f->sum_d, 0.0f);
    EXPECT_TRUE(f->L_trace_x->visible());
}

} // namespace
