// SPDX-License-Identifier: MIT
#pragma once
// The shrink from one size to another, planned once: its weights along each
// side, its divider, how wide its sums must be and whether the 16-bit way
// serves it. Every shrink of the program works from one: in a picture's own
// memory and into a copy (downscale), a part of the view (AreaShrink), rows
// as a decoder hands them (ShrinkStream). So they give the same pixels.

#include "picture/area_average.h"
#include "picture/area_average_16bit.h"

#include <QRect>
#include <QSize>

#include <functional>

namespace area_average {

class ShrinkPlan {
  public:
    // `to` no larger than `from` either way, neither empty.
    ShrinkPlan(QSize from, QSize to);
    ShrinkPlan(const ShrinkPlan&) = delete;
    ShrinkPlan& operator=(const ShrinkPlan&) = delete;

    QSize from() const { return from_; }
    QSize to() const { return to_; }
    const Spans& across() const { return across_; }
    const Spans& down() const { return down_; }
    const Divider& divider() const { return divide_; }
    // Every sum of an output pixel fits 32 bits (else 64 are used).
    bool sums_fit_32_bits() const { return sums32_; }

    // The output pixels `area` (within to()) from the source pixels at
    // `bits`, rows `line` bytes apart, into area.height() rows of
    // area.width() pixels `stride` pixels apart. The source rows read must not
    // change meanwhile. A million source pixels or more are shared by two
    // threads (share_rows).
    void shrink(const uchar* bits, qsizetype line, QRect area, uint32_t* out, size_t stride) const;
    // The same on the calling thread alone.
    void shrink_here(const uchar* bits, qsizetype line, QRect area, uint32_t* out,
                     size_t stride) const;
    // The output pixels `area` read enough source pixels to be worth a
    // second thread.
    bool worth_two_threads(QRect area) const;

  private:
    qint64 source_pixels(QRect area) const;
    template <class Sum>
    void shrink_rows(const uchar* bits, qsizetype line, QRect area, uint32_t* out,
                     size_t stride) const;

    QSize from_, to_;
    Spans across_, down_;
    Divider divide_;
    bool sums32_;
    SixteenBitSums sums16_;
};

// Rows [first, last) handed to `work`: with `two_threads`, the first half on
// a second thread and the rest on the calling one, each half contiguous so
// that each thread reads source rows of its own (but for one on the border);
// else all on the calling thread.
void share_rows(int first, int last, bool two_threads,
                const std::function<void(int first, int last)>& work);

} // namespace area_average
