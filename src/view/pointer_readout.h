// SPDX-License-Identifier: MIT
#pragma once
// The readout at the right of the status bar: while the pointer is over the
// picture, the picture pixel under it ("x 123.4  y 56.7", picture pixels cut
// to a tenth, so the whole part is the pixel under the pointer: points are
// taken between pixels) and, while a line is being drawn
// (a single line, a chain's live element, the calibration's reference line),
// the angle of that line from its fixed end to the pointer. Empty while the
// pointer is elsewhere.

#include <QPointF>
#include <QString>
#include <optional>

class F_main;
class PointerPlace;

void add_pointer_readout(F_main& f, PointerPlace& place);

// The angle of the line from `from` to `to`, both in screen pixels (y grows
// downwards): degrees, 0 to the right, counter-clockwise positive, in
// (-180, 180]. None for a line of no length.
std::optional<double> segment_angle(QPointF from, QPointF to);
// The readout's text for a point of the picture (picture pixels) and an angle.
QString readout_text(QPointF picture, std::optional<double> angle);
