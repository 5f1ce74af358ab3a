// SPDX-License-Identifier: MIT
#include "form/measure_room.h"
#include "form/view_mapping.h"
#include "measuring_fixture.h"

#include "measure/chain.h"
#include "measure/modes.h"
#include "measure/pointer_input.h"
#include "measure/trace_colours.h"

#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <cmath>
#include <vector>

namespace {

class Chain : public Measuring {
  protected:
    void SetUp() override {
        Measuring::SetUp();
        pointer::click(f->Option_tracer[1]);
        ASSERT_TRUE(f->Option_tracer[1]->isChecked());
    }
    void expect_totals(float x, float y, float d) const {
        EXPECT_EQ(f->sum_x, x);
        EXPECT_EQ(f->sum_y, y);
        EXPECT_EQ(f->sum_d, d);
    }
    // Elements still loaded in the picture area besides the ones of the design.
    int loaded() const { return static_cast<int>(f->L_m.size()) - 1; }
};

// The worked example of the chain, moved 10 pixels right and down.
TEST_F(Chain, AppendsAddUpAndAnUndoBringsTheTotalsBack) {
    ASSERT_EQ(f->m_state, MeasuringState::chain_open);
    f->Lb_x->setText(QStringLiteral("7.00"));
    move({20, 20});
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("7.00")) << "an empty chain writes nothing";

    left({10, 10});
    EXPECT_EQ(f->seg_count, 1);
    expect_totals(0, 0, 0);
    EXPECT_TRUE(element(1)->visible());
    EXPECT_EQ(element(1)->X1(), 10.0f);
    EXPECT_EQ(element(1)->Y2(), 10.0f);
    EXPECT_FALSE(element(0)->visible());

    left({40, 50});
    EXPECT_EQ(f->seg_count, 2);
    expect_totals(30, 40, 50);
    EXPECT_EQ(element(1)->X2(), 40.0f);
    EXPECT_EQ(element(2)->X1(), 40.0f);

    move({40, 110});
    EXPECT_EQ(results(), reads("30.00", "100.00", "110.00"));
    EXPECT_EQ(element(2)->Y2(), 110.0f);

    left({40, 110});
    EXPECT_EQ(f->seg_count, 3);
    expect_totals(30, 100, 110);

    right();
    EXPECT_EQ(f->seg_count, 2);
    EXPECT_EQ(loaded(), 2);
    expect_totals(30, 40, 50);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    move({40, 50}); // the second element is live again
    EXPECT_EQ(results(), reads("30.00", "40.00", "50.00"));
    EXPECT_EQ(element(2)->Y2(), 50.0f);
}

TEST_F(Chain, ADoubleClickClosesTheChainAndARightPressReopensIt) {
    left({10, 10});
    left({40, 50});
    move({80, 50});
    double_click({80, 50});
    EXPECT_EQ(f->m_state, MeasuringState::chain_closed);
    EXPECT_TRUE(red());
    EXPECT_EQ(f->focusWidget(), f->Command_excel);
    EXPECT_EQ(f->seg_count, 3) << "the double-click's press laid a zero-length element";
    EXPECT_EQ(element(3)->X1(), element(3)->X2());
    EXPECT_EQ(results(), reads("70.00", "40.00", "90.00"));

    move({200, 200}); // closed: results and elements stay
    EXPECT_EQ(results(), reads("70.00", "40.00", "90.00"));
    EXPECT_EQ(element(3)->X2(), 80.0f);

    right();
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    EXPECT_EQ(f->seg_count, 2);
    EXPECT_TRUE(grey());
    move({100, 50});
    EXPECT_EQ(element(2)->X2(), 100.0f);
    EXPECT_EQ(results(), reads("90.00", "40.00", "110.00"));

    right();
    EXPECT_EQ(f->seg_count, 1);
    expect_totals(0, 0, 0);
    right();
    right(); // nothing left to undo
    EXPECT_EQ(f->seg_count, 0);
    EXPECT_EQ(loaded(), 0);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
}

// The double-click looks at the state only: its press goes to the
// calibration, and the chain closes all the same.
TEST_F(Chain, ADoubleClickWhileCalibratingPlacesTheStartAndClosesTheChain) {
    left({10, 10});
    left({40, 50});
    move({80, 50});
    f->Command_set->setText(QStringLiteral("point start"));
    double_click({80, 50});
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point end"));
    EXPECT_EQ(f->Line_scale->X1(), 80.0f);
    EXPECT_EQ(f->Line_scale->Y1(), 50.0f);
    EXPECT_EQ(f->seg_count, 2) << "the press placed no chain point";
    EXPECT_EQ(f->m_state, MeasuringState::chain_closed);
    EXPECT_TRUE(red());
    EXPECT_EQ(results(), reads("70.00", "40.00", "90.00"));
}

TEST_F(Chain, ALeftPressOnAClosedChainStartsAFreshOne) {
    const std::size_t design_lines = f->P_in->line_count() - f->L_m.size();
    left({10, 10});
    left({40, 50});
    left({90, 50});
    double_click({90, 90});
    ASSERT_EQ(f->m_state, MeasuringState::chain_closed);

    left({200, 100});
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    EXPECT_TRUE(grey());
    EXPECT_EQ(f->seg_count, 1);
    EXPECT_EQ(loaded(), 1);
    EXPECT_EQ(f->P_in->line_count(), design_lines + 2) << "the old elements are destroyed";
    EXPECT_EQ(element(1)->X1(), 200.0f);
    EXPECT_EQ(element(1)->Y2(), 100.0f);
    expect_totals(0, 0, 0);
}

TEST_F(Chain, TwoQuickRightPressesUndoTwoStepsInsteadOfClosing) {
    left({10, 10});
    left({40, 50});
    left({90, 50});
    double_click({5, 5}, Qt::RightButton);
    EXPECT_EQ(f->m_state, MeasuringState::chain_open);
    EXPECT_EQ(f->seg_count, 1);
}

TEST_F(Chain, TotalsAfterUndosEqualThoseOfTheRemainingPresses) {
    set_view_zoom(*f, 30);
    f->unit_per_px = 0.37f;
    QRandomGenerator random(7);
    auto point = [&] { return QPointF(random.bounded(400.0), random.bounded(300.0)); };

    std::vector<QPointF> kept;
    for (int step = 0; step < 400; ++step) {
        if (step % 5 == 4 && !kept.empty()) {
            P_in_MouseDown(f->measure_room(), 2, 0, 0);
            kept.pop_back();
        } else {
            const QPointF p = point();
            P_in_MouseDown(f->measure_room(), 1, float(p.x()), float(p.y()));
            kept.push_back(p);
        }
    }
    ASSERT_EQ(f->seg_count, static_cast<qint32>(kept.size()));
    const float undone_x = f->sum_x, undone_y = f->sum_y, undone_d = f->sum_d;

    clear_segments(f->measure_room());
    reset_multi_line(f->measure_room());
    double x = 0, y = 0, d = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        P_in_MouseDown(f->measure_room(), 1, float(kept[i].x()), float(kept[i].y()));
        if (i == 0) continue;
        const double dx = float(kept[i].x()) - float(kept[i - 1].x());
        const double dy = float(kept[i].y()) - float(kept[i - 1].y());
        x += std::abs(dx), y += std::abs(dy), d += std::hypot(dx, dy);
    }
    EXPECT_FLOAT_EQ(undone_x, f->sum_x);
    EXPECT_FLOAT_EQ(undone_y, f->sum_y);
    EXPECT_FLOAT_EQ(undone_d, f->sum_d);
    const double scale = 0.37 * 100.0 / 30.0;
    EXPECT_NEAR(f->sum_x, x * scale, x * scale * 1e-5);
    EXPECT_NEAR(f->sum_y, y * scale, y * scale * 1e-5);
    EXPECT_NEAR(f->sum_d, d * scale, d * scale * 1e-5);
}

TEST_F(Chain, AFullChainIgnoresThePressAndSaysSo) {
    for (qint32 i = 0; i < chain_capacity; ++i)
        P_in_MouseDown(f->measure_room(), 1, float(20 + i % 100), float(20 + i % 50));
    f->P_in->flush_line_changes();
    ASSERT_EQ(f->seg_count, chain_capacity);
    const float total = f->sum_d;
    set_trace_green(f->measure_room());

    left({150, 150});
    EXPECT_EQ(f->seg_count, chain_capacity);
    EXPECT_EQ(loaded(), chain_capacity);
    EXPECT_EQ(f->sum_d, total);
    EXPECT_TRUE(green());
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("chain is full")))
        << f->status_text().toStdString();

    right();
    left({150, 150});
    EXPECT_EQ(f->seg_count, chain_capacity);
    EXPECT_EQ(element(chain_capacity)->X1(), 150.0f);
}

} // namespace
