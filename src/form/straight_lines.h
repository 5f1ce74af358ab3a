// SPDX-License-Identifier: MIT
#pragma once
// Straight lines on request: while Shift is held, the free end of the line
// being drawn (a single line, a chain's live element, the calibration's
// reference line) snaps to the nearest multiple of 45 degrees from its fixed
// end. The end is the pointer projected onto that direction, as drawing and
// measuring tools do: a level line keeps the pointer's column, an upright one
// its row, and the length is what the pointer covers along the line. The
// press takes the snapped point, and the readout shows its angle.

#include <QPointF>
#include <QRectF>
#include <optional>

class F_main;

// The fixed end of the line that follows the pointer, in P_in pixels; none
// while no line is being drawn. The calibration's reference line comes
// first: while it waits for its end, moves drag it and nothing else.
std::optional<QPointF> drawn_line_start(const F_main& f);

// `pointer` projected onto the multiple of 45 degrees from `start` nearest
// to it, kept within `area` (where the projection would leave it, the end
// stops at its edge, still on the line).
QPointF straight_end(QPointF start, QPointF pointer, const QRectF& area);

// Where a left press or a move at `at` (P_in pixels) puts the end of the line
// being drawn: snapped while Shift was held at the latest pointer event over
// P_in, `at` itself otherwise.
QPointF drawn_line_end(const F_main& f, QPointF at);

// Watches the pointer events over P_in for Shift; once, at wiring.
void watch_straight_lines(F_main& f);
