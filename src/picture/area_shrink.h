// SPDX-License-Identifier: MIT
#pragma once
// Any part of a picture shrunk by the area average (area_average.h), without
// shrinking the rest: a view below 100% shows only what its window exposes,
// and a part is the same pixels, bit for bit, as that part of the whole
// picture shrunk at once (downscaled_copy).

#include "picture/area_average.h"

#include <QImage>
#include <QRect>
#include <QSize>

namespace area_average {

// Output rows [from_row, to_row) of the shrink `across` x `down` into `out`,
// rows of across.spans.size() pixels `stride` pixels apart (0: packed), from
// source rows nobody writes meanwhile; `bits` is the source pixel of the
// first column `across` counts from. `sums32`: every sum fits 32 bits
// (sums_fit_32_bits).
void shrink_rows(const uchar* bits, qsizetype source_line, const Spans& across, const Spans& down,
                 const Divider& divide, bool sums32, int from_row, int to_row, uint32_t* out,
                 size_t stride = 0);

} // namespace area_average

// A picture of one size shown at a smaller one (no larger in either
// direction): the weights of the whole shrink, made once, and any part of the
// shown picture made from them.
class AreaShrink {
  public:
    AreaShrink(QSize from, QSize to);
    QSize from() const { return from_; }
    QSize to() const { return to_; }

    // The part `area` (shown pixels, within the shown size) of `picture`
    // (32 bits a pixel, of size from()) shrunk, into area.height() rows of
    // area.width() pixels `out_line` bytes apart. A part of a million source
    // pixels or more is shared by two threads.
    void shrink(const QImage& picture, QRect area, uchar* out, qsizetype out_line) const;

  private:
    QSize from_, to_;
    area_average::Spans across_, down_;
    area_average::Divider divide_;
    bool sums32_;
};
