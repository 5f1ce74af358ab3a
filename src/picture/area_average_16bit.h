// SPDX-License-Identifier: MIT
#pragma once
// The area average of area_average.h by a faster way, for the shrinks whose
// weights are small (a side of 6000 or 4000 pixels at any whole ten per cent
// has ten parts or fewer per pixel): when 255 times the product of both
// weights' totals stays below 2^16, every sum of the rule fits 16 bits, so one
// vector operation weighs eight channels instead of four. An output row's
// source rows are summed down first, then across; the sums are the very
// integers of the rule, and the division is a 16-bit multiply checked exact
// for every sum that can occur, so the pixels are the same bit for bit.

#include "picture/area_average.h"

#include <array>
#include <atomic>
#include <cstring>

// Written with the vector types of GCC and Clang, not a machine's own
// instructions: x86-64 (SSE2) and ARM64 (NEON) compile the same code.

namespace area_average {

namespace vectors {
typedef uint16_t U16x8 __attribute__((vector_size(16)));
typedef uint8_t U8x8 __attribute__((vector_size(8)));
typedef uint8_t U8x16 __attribute__((vector_size(16)));

inline U16x8 load(const uint16_t* p) {
    U16x8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store(uint16_t* p, U16x8 v) {
    std::memcpy(p, &v, sizeof v);
}
// Sixteen bytes, each in a 16-bit lane: the first eight in `low`, the others
// in `high`. Interleaved with zeros where the machine is little-endian (one
// unpack instruction on either machine; the conversion below is slower).
inline void widened(const uchar* p, U16x8& low, U16x8& high) {
    U8x16 v;
    std::memcpy(&v, p, sizeof v);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const U8x16 zero{};
    const U8x16 l =
        __builtin_shufflevector(v, zero, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
    const U8x16 h = __builtin_shufflevector(v, zero, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29,
                                            14, 30, 15, 31);
    std::memcpy(&low, &l, sizeof low);
    std::memcpy(&high, &h, sizeof high);
#else
    low = __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7), U16x8);
    high =
        __builtin_convertvector(__builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15), U16x8);
#endif
}
// The high half of each 32-bit product (one pmulhuw, or umull and a
// narrowing shift: compilers see the pattern in this loop).
inline U16x8 high_products(U16x8 a, uint16_t m) {
    U16x8 high;
    for (int i = 0; i < 8; ++i)
        high[i] = uint16_t((uint32_t(a[i]) * m) >> 16);
    return high;
}
} // namespace vectors

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
                    return uint16_t(i < s.count ? across.weights[size_t(s.weight + i)] : 0);
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
    // 2^8, as 255 d fits 16 bits): every part of a view plans its shrink
    // anew, and the search tries every sum.
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
        using namespace vectors;
        const uchar* first = bits + s.first * line;
        const uint32_t* w = down.weights.data() + s.weight;
        const auto weigh = [](const uchar* row, uint16_t weight, U16x8& low, U16x8& high) {
            U16x8 l, h;
            widened(row, l, h);
            low += l * weight;
            high += h * weight;
        };
        size_t i = 0;
        if (s.count == 2) { // the most common span when shrinking less than twice
            const uint16_t w0 = uint16_t(w[0]), w1 = uint16_t(w[1]);
            for (; i + 16 <= n; i += 16) {
                U16x8 low{}, high{};
                weigh(first + i, w0, low, high);
                weigh(first + line + i, w1, low, high);
                store(sums + i, low);
                store(sums + i + 8, high);
            }
        } else
            for (; i + 16 <= n; i += 16) {
                U16x8 low{}, high{};
                for (int k = 0; k < s.count; ++k)
                    weigh(first + k * line + i, uint16_t(w[k]), low, high);
                store(sums + i, low);
                store(sums + i + 8, high);
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

    struct alignas(16) Pair {
        uint16_t weights[8];
    };

    // What the sums across read, copied out of the object so that the
    // compiler keeps them in registers: the stores of the output may alias
    // anything.
    struct Across {
        const uint16_t* down_sums; // from channel `base` of the source row
        int base;
        const int* starts;
        const Pair* pairs;
        vectors::U16x8 half;
        uint16_t magic;
        int shift;
    };

    // One output pixel's sums across, in the low and the high half. `Pairs`
    // is pairs_per_pixel_ when known at compile time, else 0.
    template <int Pairs>
    static vectors::U16x8 pixel_sums(const Across& a, int pairs_per_pixel, int x) {
        using namespace vectors;
        const int pairs = Pairs > 0 ? Pairs : pairs_per_pixel;
        const uint16_t* p = a.down_sums + (a.starts[x] - a.base);
        const Pair* w = a.pairs + size_t(x) * size_t(pairs);
        U16x8 sum{};
        for (int k = 0; k < pairs; ++k, p += 8)
            sum += load(p) * load(w[k].weights);
        return sum;
    }

    // Two pixels' sums, the halves of each added, divided.
    static vectors::U16x8 divided(const Across& a, vectors::U16x8 one, vectors::U16x8 two) {
        using namespace vectors;
        const U16x8 sum = __builtin_shufflevector(one, two, 0, 1, 2, 3, 8, 9, 10, 11) +
                          __builtin_shufflevector(one, two, 4, 5, 6, 7, 12, 13, 14, 15);
        return high_products(sum + a.half, a.magic) >> a.shift;
    }

    // Every quotient is at most 255: the low byte of each lane is all of it.
    template <int Pairs>
    void sum_across(const uint16_t* down_sums, int base, int left, int right, uint32_t* out) const {
        using namespace vectors;
        const Across a{down_sums,       base,   starts_.data(), pairs_.data(),
                       U16x8{} + half_, magic_, shift_};
        const int per_pixel = pairs_per_pixel_;
        int x = left;
        for (; x + 4 <= right; x += 4) {
            const U16x8 first = divided(a, pixel_sums<Pairs>(a, per_pixel, x),
                                        pixel_sums<Pairs>(a, per_pixel, x + 1));
            const U16x8 second = divided(a, pixel_sums<Pairs>(a, per_pixel, x + 2),
                                         pixel_sums<Pairs>(a, per_pixel, x + 3));
            const U8x16 bytes =
                __builtin_convertvector(__builtin_shufflevector(first, second, 0, 1, 2, 3, 4, 5, 6,
                                                                7, 8, 9, 10, 11, 12, 13, 14, 15),
                                        U8x16);
            std::memcpy(out + (x - left), &bytes, sizeof bytes);
        }
        for (; x < right; ++x) {
            const U16x8 q = divided(a, pixel_sums<Pairs>(a, per_pixel, x), U16x8{});
            const uint8_t bytes[4] = {uint8_t(q[0]), uint8_t(q[1]), uint8_t(q[2]), uint8_t(q[3])};
            std::memcpy(out + (x - left), bytes, sizeof bytes);
        }
    }

    const int source_width_;
    bool usable_ = false;
    uint16_t magic_ = 0, half_ = 0;
    int shift_ = 0;
    std::vector<Pair> pairs_;
    std::vector<int> starts_; // each span's first channel in the sums down
    std::vector<int> ends_;   // and the channel past its last
    int pairs_per_pixel_ = 0;
};

} // namespace area_average
