// SPDX-License-Identifier: MIT
#pragma once
// Any part of a picture shrunk by the area average (area_average.h), without
// shrinking the rest: a view below 100% shows only what its window exposes,
// and a part is the same pixels, bit for bit, as that part of the whole
// picture shrunk at once (downscaled_copy).

#include "picture/shrink_plan.h"

#include <QImage>
#include <QRect>
#include <QSize>

// A picture of one size shown at a smaller one (no larger in either
// direction): the shrink planned once, and any part of the shown picture made
// from it.
class AreaShrink {
  public:
    AreaShrink(QSize from, QSize to) : plan_(from, to) {}
    QSize from() const { return plan_.from(); }
    QSize to() const { return plan_.to(); }

    // The part `area` (shown pixels, within the shown size) of `picture`
    // (32 bits a pixel, of size from()) shrunk, into area.height() rows of
    // area.width() pixels `out_line` bytes apart. A part of a million source
    // pixels or more is shared by two threads.
    void shrink(const QImage& picture, QRect area, uchar* out, qsizetype out_line) const;

  private:
    area_average::ShrinkPlan plan_;
};
