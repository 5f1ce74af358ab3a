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
// direction), and any part of the shown picture made from the shrink's plan.
// The plan is made for each part painted (tens of microseconds against the
// milliseconds of the part): one kept from the step to the paints measured a
// third slower in bench_view, every row summed the same, which we put down to
// where its tables then lie in memory against the buffers the rows are summed
// in; a plan made just before use showed no such cost.
class AreaShrink {
  public:
    AreaShrink(QSize from, QSize to) : from_(from), to_(to) {}
    QSize from() const { return from_; }
    QSize to() const { return to_; }

    // The part `area` (shown pixels, within the shown size) of `picture`
    // (32 bits a pixel, of size from()) shrunk, into area.height() rows of
    // area.width() pixels `out_line` bytes apart. A part of a million source
    // pixels or more is shared by two threads.
    void shrink(const QImage& picture, QRect area, uchar* out, qsizetype out_line) const;

  private:
    QSize from_, to_;
};
