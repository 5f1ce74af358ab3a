// SPDX-License-Identifier: MIT
#include "picture/shrink_plan.h"

#include "picture/worker_thread.h"

#include <thread>

namespace area_average {

namespace {
// Below this many source pixels a second thread costs more than it saves.
constexpr qint64 two_thread_pixels = qint64(1) << 20;
} // namespace

ShrinkPlan::ShrinkPlan(QSize from, QSize to)
    : from_(from), to_(to), across_(from.width(), to.width()), down_(from.height(), to.height()),
      divide_(uint64_t(across_.total) * down_.total),
      sums32_(area_average::sums_fit_32_bits(across_, down_)),
      sums16_(across_, down_, from.width()) {}

qint64 ShrinkPlan::source_pixels(QRect area) const {
    const Span& first_column = across_.spans[size_t(area.left())];
    const Span& last_column = across_.spans[size_t(area.right())];
    const Span& first_row = down_.spans[size_t(area.top())];
    const Span& last_row = down_.spans[size_t(area.bottom())];
    return qint64(last_column.first + last_column.count - first_column.first) *
           (last_row.first + last_row.count - first_row.first);
}

bool ShrinkPlan::worth_two_threads(QRect area) const {
    return source_pixels(area) >= two_thread_pixels;
}

void ShrinkPlan::shrink(const uchar* bits, qsizetype line, QRect area, uint32_t* out,
                        size_t stride) const {
    area &= QRect(QPoint(0, 0), to_);
    if (area.isEmpty()) return;
    share_rows(area.top(), area.bottom() + 1, worth_two_threads(area), [&](int first, int last) {
        shrink_here(bits, line, QRect(area.left(), first, area.width(), last - first),
                    out + size_t(first - area.top()) * stride, stride);
    });
}

void ShrinkPlan::shrink_here(const uchar* bits, qsizetype line, QRect area, uint32_t* out,
                             size_t stride) const {
    area &= QRect(QPoint(0, 0), to_);
    if (area.isEmpty()) return;
    if (sums32_)
        shrink_rows<uint32_t>(bits, line, area, out, stride);
    else
        shrink_rows<uint64_t>(bits, line, area, out, stride);
}

template <class Sum>
void ShrinkPlan::shrink_rows(const uchar* bits, qsizetype line, QRect area, uint32_t* out,
                             size_t stride) const {
    const int left = area.left(), right = area.right() + 1;
    if (sums16_.usable()) {
        std::vector<uint16_t> down_sums(sums16_.down_size());
        for (int y = area.top(); y <= area.bottom(); ++y, out += stride)
            sums16_.row(bits, line, down_, y, left, right, down_sums.data(), out);
        return;
    }
    const size_t w = size_t(area.width());
    const bool small = small_products(across_, down_);
    std::vector<uint32_t> reduced(w * 4);
    std::vector<Sum> sums(w * 4);
    int reduced_row = -1; // the source row `reduced` holds
    for (int y = area.top(); y <= area.bottom(); ++y, out += stride) {
        const Span& s = down_.spans[size_t(y)];
        for (int k = 0; k < s.count; ++k) {
            const int j = s.first + k;
            // A source row on the border of two output rows is reduced once.
            if (j != reduced_row) {
                reduce_across(reinterpret_cast<const uint32_t*>(bits + j * line), across_, left,
                              right, reduced.data());
                reduced_row = j;
            }
            // The first row's products start the sums: nothing to clear.
            add_weighted(sums.data(), reduced.data(), w * 4,
                         Sum(down_.weights[size_t(s.weight + k)]), small, k == 0);
        }
        divide_row(sums.data(), w, divide_, out);
    }
}

void share_rows(int first, int last, bool two_threads,
                const std::function<void(int first, int last)>& work) {
    const int middle = two_threads ? first + (last - first) / 2 : first;
    std::thread other;
    if (middle > first) other = thread_beside([&work, first, middle] { work(first, middle); });
    work(middle, last);
    if (other.joinable()) other.join();
}

} // namespace area_average
