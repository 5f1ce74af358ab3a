// SPDX-License-Identifier: MIT
#pragma once
// The area average of area_average.h by a faster way, for the shrinks whose
// weights are small (a side of 6000 or 4000 pixels at any whole ten per cent
// has ten parts or fewer per pixel): when 255 times the product of both
// weights' totals stays below 2^16, every sum of the rule fits 16 bits, so an
// SSE2 operation weighs eight channels instead of four. An output row's
// source rows are summed down first, then across; the sums are the very
// integers of the rule, and the division is a 16-bit multiply checked exact
// for every sum that can occur, so the pixels are the same bit for bit.

#include "picture/area_average.h"

#include <array>
#include <atomic>

#ifdef KELVO_DOWNSCALE_SSE2

namespace area_average {

class SixteenBitSums {
  public:
    SixteenBitSums(const Spans& across, const Spans& down, int source_width)
        : source_width_(source_width) {
        const uint32_t d = across.total * down.total;
        if (!across.small_weights || uint64_t(d) * 255 + d / 2 >= (1u << 16) || d < 2) return;
        const uint32_t found = divider_for(d);
        usable_ = (found & 1) != 0;
        if (!usable_) return;
        shift_ = int(found >> 1 & 0xF), magic_ = uint16_t(found >> 8);
        half_ = uint16_t(d / 2);
        // Each span's weights two pixels at a time, each repeated for the four
        // channels, as many pairs for every span as the longest needs; the
        // weight past a span's end is 0.
        for (const Span& s : across.spans)
            pairs_per_pixel_ = std::max(pairs_per_pixel_, (s.count + 1) / 2);
        for (const Span& s : across.spans) {
            starts_.push_back(s.first * 4);
            ends_.push_back((s.first + s.count) * 4);
            for (int k = 0; k < 2 * pairs_per_pixel_; k += 2) {
                const auto w = [&](int i) {
                    return short(i < s.count ? across.weights[size_t(s.weight + i)] : 0);
                };
                pairs_.push_back(
                    {{w(k), w(k), w(k), w(k), w(k + 1), w(k + 1), w(k + 1), w(k + 1)}});
            }
        }
    }

    bool usable() const { return usable_; }

    // Output columns [left, right) of row y into `out` (packed), from
    // `bits`, the source's first column; `down_sums` scratch of down_size().
    // `down` is the shrink's, as given to the constructor.
    size_t down_size() const { return size_t(source_width_ + 2 * pairs_per_pixel_) * 4; }
    void row(const uchar* bits, qsizetype line, const Spans& down, int y, int left, int right,
             uint16_t* down_sums, uint32_t* out) const {
        // Only the source columns under [left, right), from the first.
        const int base = starts_[size_t(left)];
        const int end = ends_[size_t(right - 1)];
        sum_down(bits + base, line, down, down.spans[size_t(y)], size_t(end - base), down_sums);
        switch (pairs_per_pixel_) {
        case 1:
            return sum_across<1>(down_sums, base, left, right, out);
        case 2:
            return sum_across<2>(down_sums, base, left, right, out);
        default:
            return sum_across<0>(down_sums, base, left, right, out);
        }
    }

  private:
    // The smallest shift whose multiplier gives (n + d / 2) / d for every
    // sum n up to 255 d, tried on all of them: usable in bit 0, the shift in
    // bits 1-4, the multiplier from bit 8. Found once for each d (below
    // 2^8, as 255 d fits 16 bits): a zoom step plans a shrink anew, and the
    // search tries every sum.
    static uint32_t divider_for(uint32_t d) {
        static std::array<std::atomic<uint32_t>, 257> found{};
        const uint32_t known = found[d].load(std::memory_order_relaxed);
        if (known != 0) return known & ~(1u << 31);
        uint32_t result = 0;
        for (int shift = 0; shift < 16 && result == 0; ++shift) {
            const uint32_t magic = ((uint32_t(1) << (16 + shift)) + d - 1) / d;
            if (magic > 0xFFFF) break;
            bool exact = true;
            for (uint32_t n = d / 2; n <= 255 * d + d / 2 && exact; ++n)
                exact = (n * magic) >> (16 + shift) == n / d;
            if (exact) result = 1 | uint32_t(shift) << 1 | magic << 8;
        }
        found[d].store(result | 1u << 31, std::memory_order_relaxed);
        return result;
    }

    // The first n channels of the source row span weighed down the rows:
    // 16-bit sums.
    void sum_down(const uchar* bits, qsizetype line, const Spans& down, const Span& s, size_t n,
                  uint16_t* sums) const {
        const uchar* first = bits + s.first * line;
        const uint32_t* w = down.weights.data() + s.weight;
        const __m128i zero = _mm_setzero_si128();
        const auto weigh = [&](const uchar* row, __m128i weight, __m128i& low, __m128i& high) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row));
            low = _mm_add_epi16(low, _mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), weight));
            high = _mm_add_epi16(high, _mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), weight));
        };
        const auto store = [&](size_t at, __m128i low, __m128i high) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + at), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + at + 8), high);
        };
        size_t i = 0;
        if (s.count == 2) { // the most common span when shrinking less than twice
            const __m128i w0 = _mm_set1_epi16(short(w[0])), w1 = _mm_set1_epi16(short(w[1]));
            for (; i + 16 <= n; i += 16) {
                __m128i low = zero, high = zero;
                weigh(first + i, w0, low, high);
                weigh(first + line + i, w1, low, high);
                store(i, low, high);
            }
        } else
            for (; i + 16 <= n; i += 16) {
                __m128i low = zero, high = zero;
                for (int k = 0; k < s.count; ++k)
                    weigh(first + k * line + i, _mm_set1_epi16(short(w[k])), low, high);
                store(i, low, high);
            }
        for (; i < n; ++i) {
            uint32_t sum = 0;
            for (int k = 0; k < s.count; ++k)
                sum += w[k] * first[k * line + i];
            sums[i] = uint16_t(sum);
        }
        // The pixels past the columns, weighed 0 by the shorter spans.
        std::fill(sums + n, sums + n + size_t(pairs_per_pixel_) * 8, uint16_t(0));
    }

    // One output pixel's sums across, in the low and the high half. `Pairs`
    // is pairs_per_pixel_ when known at compile time, else 0.
    template <int Pairs> __m128i pixel_sums(const uint16_t* down_sums, int base, int x) const {
        const int pairs = Pairs > 0 ? Pairs : pairs_per_pixel_;
        const uint16_t* p = down_sums + (starts_[size_t(x)] - base);
        const Pair* w = pairs_.data() + size_t(x) * size_t(pairs);
        __m128i sum = _mm_setzero_si128();
        for (int k = 0; k < pairs; ++k, p += 8)
            sum = _mm_add_epi16(
                sum,
                _mm_mullo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                _mm_load_si128(reinterpret_cast<const __m128i*>(w[k].weights))));
        return sum;
    }

    // Two pixels' sums, the halves of each added, divided.
    __m128i divided(__m128i a, __m128i b) const {
        const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b));
        const __m128i q = _mm_mulhi_epu16(_mm_add_epi16(sum, _mm_set1_epi16(short(half_))),
                                          _mm_set1_epi16(short(magic_)));
        return _mm_srl_epi16(q, _mm_cvtsi32_si128(shift_));
    }

    // `down_sums` begins at channel `base` of the source row.
    template <int Pairs>
    void sum_across(const uint16_t* down_sums, int base, int left, int right, uint32_t* out) const {
        int x = left;
        for (; x + 4 <= right; x += 4) {
            const __m128i first = divided(pixel_sums<Pairs>(down_sums, base, x),
                                          pixel_sums<Pairs>(down_sums, base, x + 1));
            const __m128i second = divided(pixel_sums<Pairs>(down_sums, base, x + 2),
                                           pixel_sums<Pairs>(down_sums, base, x + 3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (x - left)),
                             _mm_packus_epi16(first, second));
        }
        for (; x < right; ++x) {
            const __m128i q = divided(pixel_sums<Pairs>(down_sums, base, x), _mm_setzero_si128());
            out[x - left] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(q, q)));
        }
    }

    const int source_width_;
    bool usable_ = false;
    uint16_t magic_ = 0, half_ = 0;
    int shift_ = 0;
    struct alignas(16) Pair {
        short weights[8];
    };
    std::vector<Pair> pairs_;
    std::vector<int> starts_; // each span's first channel in the sums down
    std::vector<int> ends_;   // and the channel past its last
    int pairs_per_pixel_ = 0;
};

} // namespace area_average

#else

namespace area_average {
// Without SSE2 the rows are shrunk the one way, in area_average.h.
class SixteenBitSums {
  public:
    SixteenBitSums(const Spans&, const Spans&, int) {}
    bool usable() const { return false; }
    size_t down_size() const { return 0; }
    void row(const uchar*, qsizetype, const Spans&, int, int, int, uint16_t*, uint32_t*) const {}
};
} // namespace area_average

#endif
