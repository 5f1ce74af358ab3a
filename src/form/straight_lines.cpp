// SPDX-License-Identifier: MIT
#include "form/straight_lines.h"

#include "form/F_main.h"
#include "form/calibration_step.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

const char* const watch_name = "straight_lines";

// Sees every pointer event of P_in before the box does and keeps whether
// Shift was held in it.
class ShiftWatch : public QObject {
  public:
    explicit ShiftWatch(QObject* parent) : QObject(parent) {
        setObjectName(QLatin1String(watch_name));
    }
    bool held = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            held = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
            break;
        default:
            break;
        }
        return false;
    }
};

bool shift_held(const F_main& f) {
    const auto* watch =
        f.P_in->findChild<QObject*>(QLatin1String(watch_name), Qt::FindDirectChildrenOnly);
    return watch && static_cast<const ShiftWatch*>(watch)->held;
}

} // namespace

std::optional<QPointF> drawn_line_start(const F_main& f) {
    if (calibration_step(f) == CalibrationStep::point_end)
        return QPointF(f.Line_scale->X1(), f.Line_scale->Y1());
    switch (f.m_state) {
    case MeasuringState::start_fixed:
        return QPointF(f.pt_x, f.pt_y);
    case MeasuringState::chain_open:
        if (f.seg_count < 1) return std::nullopt;
        return QPointF(f.L_m[size_t(f.seg_count)]->X1(), f.L_m[size_t(f.seg_count)]->Y1());
    case MeasuringState::no_start:
    case MeasuringState::line_done:
    case MeasuringState::chain_closed:
        return std::nullopt;
    }
    return std::nullopt;
}

QPointF straight_end(QPointF start, QPointF pointer, const QRectF& area) {
    const QPointF d = pointer - start;
    if (d.isNull()) return start;
    // The eight directions, y downwards; the diagonals exact to the last bit
    // in both coordinates, so their angle reads 45 degrees exactly.
    constexpr double r = std::numbers::sqrt2 / 2;
    static const QPointF directions[8] = {{1, 0},  {r, r},   {0, 1},  {-r, r},
                                          {-1, 0}, {-r, -r}, {0, -1}, {r, -r}};
    const double eighths = std::atan2(d.y(), d.x()) / (std::numbers::pi / 4);
    const QPointF u = directions[(std::lround(eighths) % 8 + 8) % 8];
    double t = std::max(0.0, d.x() * u.x() + d.y() * u.y());
    // Stopped at the area's edge, along the line.
    const auto room = [](double from, double step, double low, double high) {
        if (step > 0) return (high - from) / step;
        if (step < 0) return (low - from) / step;
        return std::numeric_limits<double>::infinity();
    };
    t = std::min({t, room(start.x(), u.x(), area.left(), area.right()),
                  room(start.y(), u.y(), area.top(), area.bottom())});
    t = std::max(t, 0.0);
    if (u.x() == 0) return {start.x(), start.y() + t * u.y()};
    if (u.y() == 0) return {start.x() + t * u.x(), start.y()};
    return start + t * u;
}

QPointF drawn_line_end(const F_main& f, QPointF at) {
    if (!shift_held(f)) return at;
    const std::optional<QPointF> start = drawn_line_start(f);
    if (!start) return at;
    return straight_end(*start, at, QRectF(f.P_in->rect()));
}

void watch_straight_lines(F_main& f) {
    f.P_in->installEventFilter(new ShiftWatch(f.P_in));
}
