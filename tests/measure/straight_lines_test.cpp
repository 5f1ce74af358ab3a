// SPDX-License-Identifier: MIT
#include "measuring_fixture.h"

#include "form/straight_lines.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

TEST(StraightEnd, ThePointerProjectedOntoTheNearestEighthOfATurn) {
    const QRectF area(0, 0, 100, 100);
    const struct {
        QPointF start, pointer, end;
    } cases[] = {
        {{50, 50}, {60, 53}, {60, 50}},     {{50, 50}, {53, 40}, {50, 40}},
        {{50, 50}, {60, 59}, {59.5, 59.5}}, {{50, 50}, {40, 51}, {40, 50}},
        {{50, 50}, {43, 42}, {42.5, 42.5}}, {{50, 50}, {50, 50}, {50, 50}},
        {{90, 80}, {99, 99}, {100, 90}},    {{10, 10}, {0, -40}, {10, 0}},
    };
    for (const auto& c : cases) {
        const QPointF end = straight_end(c.start, c.pointer, area);
        EXPECT_DOUBLE_EQ(end.x(), c.end.x()) << c.pointer.x() << ", " << c.pointer.y();
        EXPECT_DOUBLE_EQ(end.y(), c.end.y()) << c.pointer.x() << ", " << c.pointer.y();
    }
}

using StraightLines = Measuring;

// Shift snaps the free end of a single line, a chain's element and the
// reference line, and the press takes the snapped point.
TEST_F(StraightLines, ShiftHeldSnapsTheFreeEndAndThePressTakesIt) {
    left({100, 100});
    pointer::move(f->P_in, {150, 110}, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(f->L_d->X2(), 150.0f);
    EXPECT_EQ(f->L_d->Y2(), 100.0f);
    EXPECT_EQ(results(), reads("50.00", ".00", "50.00"));
    pointer::click(f->P_in, Qt::LeftButton, {150, 110}, Qt::ShiftModifier);
    EXPECT_EQ(f->m_state, MeasuringState::line_done);
    EXPECT_EQ(f->L_x1->Y1(), 100.0f);
    move({150, 110}); // without Shift the pointer is followed as ever
    EXPECT_EQ(f->L_trace_x->Y1(), 110.0f);

    pointer::click(f->Option_tracer[1]);
    left({10, 10});
    pointer::click(f->P_in, Qt::LeftButton, {41, 39}, Qt::ShiftModifier);
    EXPECT_EQ(element(1)->X2(), 40.0f);
    EXPECT_EQ(element(1)->Y2(), 40.0f);

    f->Command_set->setText(QStringLiteral("point start"));
    left({200, 200});
    pointer::click(f->P_in, Qt::LeftButton, {203, 250}, Qt::ShiftModifier);
    EXPECT_EQ(f->Line_scale->X2(), 200.0f);
    EXPECT_EQ(f->Line_scale->Y2(), 250.0f);
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set scale as..."));
}

} // namespace
