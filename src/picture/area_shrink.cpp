// SPDX-License-Identifier: MIT
#include "picture/area_shrink.h"

#include "picture/area_average_16bit.h"

#include <thread>

namespace area_average {
namespace {

template <class Sum>
void shrink_rows_of(const uchar* bits, qsizetype source_line, const Spans& across,
                    const Spans& down, const Divider& divide, int from_row, int to_row,
                    uint32_t* out, size_t stride) {
    const size_t w = across.spans.size();
    const Span& last = across.spans.back();
    const SixteenBitSums sums16(across, down, last.first + last.count);
    if (sums16.usable()) {
        std::vector<uint16_t> down_sums(sums16.down_size());
        for (int y = from_row; y < to_row; ++y, out += stride)
            sums16.row(bits, source_line, y, down_sums.data(), out);
        return;
    }
    const bool small = small_products(across, down);
    std::vector<uint32_t> reduced(w * 4);
    std::vector<Sum> sums(w * 4);
    int reduced_row = -1; // the source row `reduced` holds
    for (int y = from_row; y < to_row; ++y) {
        const Span& s = down.spans[size_t(y)];
        for (int k = 0; k < s.count; ++k) {
            const int j = s.first + k;
            // A source row on the border of two output rows is reduced once.
            if (j != reduced_row) {
                reduce_across(reinterpret_cast<const uint32_t*>(bits + j * source_line), across,
                              reduced.data());
                reduced_row = j;
            }
            // The first row's products start the sums: nothing to clear.
            add_weighted(sums.data(), reduced.data(), w * 4,
                         Sum(down.weights[size_t(s.weight + k)]), small, k == 0);
        }
        divide_row(sums.data(), w, divide, out);
        out += stride;
    }
}

} // namespace

void shrink_rows(const uchar* bits, qsizetype source_line, const Spans& across, const Spans& down,
                 const Divider& divide, bool sums32, int from_row, int to_row, uint32_t* out,
                 size_t stride) {
    if (stride == 0) stride = across.spans.size();
    if (sums32)
        shrink_rows_of<uint32_t>(bits, source_line, across, down, divide, from_row, to_row, out,
                                 stride);
    else
        shrink_rows_of<uint64_t>(bits, source_line, across, down, divide, from_row, to_row, out,
                                 stride);
}

} // namespace area_average

using namespace area_average;

AreaShrink::AreaShrink(QSize from, QSize to)
    : from_(from), to_(to), across_(from.width(), to.width()), down_(from.height(), to.height()),
      divide_(uint64_t(across_.total) * down_.total), sums32_(sums_fit_32_bits(across_, down_)) {}

void AreaShrink::shrink(const QImage& picture, QRect area, uchar* out, qsizetype out_line) const {
    area &= QRect(QPoint(0, 0), to_);
    if (area.isEmpty() || picture.size() != from_ || picture.depth() != 32) return;
    const Spans part = across_.slice(area.left(), area.right() + 1);
    const uchar* bits =
        picture.constBits() + qsizetype(across_.spans[size_t(area.left())].first) * 4;
    const qsizetype line = picture.bytesPerLine();
    const auto rows = [&](int first, int last) {
        shrink_rows(bits, line, part, down_, divide_, sums32_, first, last,
                    reinterpret_cast<uint32_t*>(out + (first - area.top()) * out_line),
                    size_t(out_line / 4));
    };
    const int top = area.top(), end = area.bottom() + 1;
    const Span& last_span = part.spans.back();
    const qint64 source_pixels =
        qint64(last_span.first + last_span.count) *
        (down_.spans[size_t(end - 1)].first - down_.spans[size_t(top)].first + 1);
    if (source_pixels < (1 << 20) || end - top < 2) {
        rows(top, end);
        return;
    }
    const int middle = (top + end) / 2;
    std::thread other(rows, middle, end);
    rows(top, middle);
    other.join();
}
