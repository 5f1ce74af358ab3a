// SPDX-License-Identifier: MIT
#pragma once
// View > "Magnifier (&M)", key M: an inset beside the pointer showing the
// picture's own pixels around it at 8x, with a cross at the point a press
// would take. Off at the first start; on or off as it was left thereafter.
//
// Its pixels are the decoded picture's, never the zoomed screen's: at 100%
// and above the picture area holds the picture at full size; below, the
// full-size picture when the window keeps it (F_main::full_picture). A
// picture too large to be kept is magnified from what is shown, and the
// inset says so at its foot.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

class F_main;
class PointerPlace;
struct ViewMapping;
struct ViewRoom;

void add_magnifier(F_main& f, PointerPlace& place);

// Where the inset goes for the pointer at `pointer` (viewport pixels): above
// and to the right of it, `gap` pixels clear, or on the other side where the
// viewport ends; clamped to the viewport when neither side has room.
QPoint inset_place(QPointF pointer, QSize viewport, int side, int gap);

// What the magnifier draws from: `image` holds the picture at `scale` image
// pixels per picture pixel; `note` says when those are not the picture's own.
struct MagnifierSource {
    const QImage* image = nullptr;
    double scale = 1;
    QString note;
};
MagnifierSource magnifier_source(const ViewRoom& room, const ViewMapping& view);
