// SPDX-License-Identifier: MIT
#pragma once
// The area average behind every shrunk picture, through the one plan of a
// shrink (shrink_plan.h), so that every way of shrinking gives the same pixels.

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

// The 16-bit sums (area_average_16bit.h) are written once for every machine.
// The wider sums here have a path of SSE2 instructions (every x86-64) beside
// plain C++ that gives the same results bit for bit; ARM64 compiles the plain
// C++, and so does x86-64 with KELVO_PORTABLE_DOWNSCALE defined (a test build:
// the code as ARM64 compiles it, 128-bit integers included).
#if defined(__SSE2__) && !defined(KELVO_PORTABLE_DOWNSCALE)
#define KELVO_DOWNSCALE_SSE2 1
#include <emmintrin.h>
#endif
#if defined(__SIZEOF_INT128__)
#define KELVO_DOWNSCALE_INT128 1
#endif

// Output pixels are laid on the source in units of 1/to of a source pixel:
// source pixel i spans [i * to, (i + 1) * to) and output pixel x spans
// [x * from, (x + 1) * from), so every overlap is a whole number. All the
// boundaries are multiples of g = gcd(from, to), and so is every overlap;
// dividing by g keeps the weights (and their sum, from / g) small.
//
// That sum is small for sides that share a large factor (6000 to 5400: 10),
// but not for most (5472 to 4925: 5472), and then no sum fits 16 bits. So
// when from / g exceeds q = 8 x ceil(from / to), the weights are rounded to
// parts of q instead: the boundaries inside an output pixel's span, as
// running sums of its overlaps, are rounded to the nearest q-th of the output
// pixel (halves up), and each weight is the difference of its two
// boundaries. Every boundary moves by at most half a q-th, 1/16 of a source
// pixel at most; the weights of an output pixel add up to q exactly. With a
// shrink less than twice smaller both ways, q = 16 and every sum of a pixel
// fits 16 bits (area_average_16bit.h).

namespace area_average {

// The high 64 bits of the 128-bit product a * b.
inline uint64_t multiply_high(uint64_t a, uint64_t b) {
#ifdef KELVO_DOWNSCALE_INT128
    __extension__ typedef unsigned __int128 uint128;
    return uint64_t((static_cast<uint128>(a) * b) >> 64);
#else
    const uint64_t a_lo = a & 0xFFFFFFFFu, a_hi = a >> 32, b_lo = b & 0xFFFFFFFFu, b_hi = b >> 32;
    const uint64_t lo_lo = a_lo * b_lo, hi_lo = a_hi * b_lo, lo_hi = a_lo * b_hi;
    const uint64_t middle = (lo_lo >> 32) + (hi_lo & 0xFFFFFFFFu) + lo_hi;
    return a_hi * b_hi + (hi_lo >> 32) + (middle >> 32);
#endif
}

struct Span {
    int first;  // the first source pixel covered
    int count;  // how many source pixels are covered
    int weight; // offset of their weights in the weight table
};

// The source pixels each output pixel covers along one direction, with the
// length of each overlap over g. The weights of one output pixel add up to
// from / g.
// A span of one to three pixels with small weights: the first pixel, the
// offsets of the second and third from it (0 past the span, with weight 0),
// the first two weights in 16 bits each and the third.
struct Three {
    int first;
    int second, third;
    uint32_t pair, last;
};

struct Spans {
    std::vector<Span> spans;
    std::vector<uint32_t> weights;
    uint32_t total = 1;
    bool small_weights = false; // all below 2^15
    std::vector<uint32_t>
        pairs; // with small weights: each weight and the next of its span, in 16 bits
    std::vector<Three> threes; // with small weights and no span over three pixels
    bool three = false;

    Spans(int from, int to) {
        const int64_t g = std::gcd(from, to);
        total = uint32_t(from / g);
        spans.reserve(size_t(to));
        for (int64_t x = 0; x < to; ++x) {
            const int64_t start = x * from, end = (x + 1) * from; // in units of 1/to
            const int first = int(start / to);
            const int last = int((end + to - 1) / to) - 1;
            spans.push_back({first, last - first + 1, int(weights.size())});
            for (int64_t i = first; i <= last; ++i) {
                const int64_t overlap = std::min((i + 1) * to, end) - std::max(i * to, start);
                weights.push_back(uint32_t(overlap / g));
            }
        }
        const int64_t q = 8 * ((int64_t(from) + to - 1) / to);
        if (total > q) {
            for (const Span& s : spans) {
                int64_t running = 0, before = 0;
                for (int k = 0; k < s.count; ++k) {
                    uint32_t& w = weights[size_t(s.weight + k)];
                    running += w;
                    const int64_t boundary = (2 * q * running + total) / (2 * int64_t(total));
                    w = uint32_t(boundary - before);
                    before = boundary;
                }
            }
            total = uint32_t(q);
        }
        small_weights = *std::max_element(weights.begin(), weights.end()) < (1u << 15);
        three = small_weights &&
                std::all_of(spans.begin(), spans.end(), [](const Span& s) { return s.count <= 3; });
        if (three)
            for (const Span& s : spans) {
                const auto w = [&](int k) {
                    return k < s.count ? weights[size_t(s.weight + k)] : 0u;
                };
                threes.push_back(
                    {s.first, s.count > 1 ? 1 : 0, s.count > 2 ? 2 : 0, w(0) | w(1) << 16, w(2)});
            }
        if (small_weights) {
            pairs.resize(weights.size());
            for (const Span& s : spans)
                for (int k = 0; k < s.count; ++k)
                    pairs[size_t(s.weight + k)] =
                        weights[size_t(s.weight + k)] |
                        (k + 1 < s.count ? weights[size_t(s.weight + k + 1)] << 16 : 0u);
        }
    }
};

// Divides by a constant with rounding to the nearest, exactly: n * magic / 2^64
// is off from n / d by less than n / 2^64, which stays below 1 / d (the least
// distance from a fraction n / d to the next whole number) for n < 256 d when
// d < 2^28.
class Divider {
  public:
    explicit Divider(uint64_t d) : d_(d), half_(d / 2) {
        magic_ = d > 1 && d < (uint64_t(1) << 28) ? ~uint64_t(0) / d + 1 : 0;
        magic32_ = d > 1 && d < (uint64_t(1) << 12) ? ((uint64_t(1) << 32) - 1) / d + 1 : 0;
        magic40_ = d > 1 && d < (uint64_t(1) << 16) ? ((uint64_t(1) << 40) - 1) / d + 1 : 0;
    }
    uint32_t rounded(uint64_t sum) const {
        const uint64_t n = sum + half_;
        // The same bound with 2^40: n * magic40 fits 64 bits for n < 2^24.
        if (magic40_ != 0) return uint32_t((n * magic40_) >> 40);
        if (magic_ == 0) return uint32_t(n / d_);
        return uint32_t(multiply_high(n, magic_));
    }

    // With d < 2^12 the bound holds for 2^32, so four channels divide at once:
    // each n (below 2^20) times magic32 (below 2^31) in a 64-bit lane.
    bool in_simd() const { return magic32_ != 0; }
    uint32_t rounded_pixel(const uint32_t* sums) const {
#ifndef KELVO_DOWNSCALE_SSE2
        uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c)
            pixel |= uint32_t(((uint64_t(sums[c]) + half_) * magic32_) >> 32) << (8 * c);
        return pixel;
#else
        const __m128i n = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums)),
                                        _mm_set1_epi32(int(half_)));
        const __m128i magic = _mm_set1_epi32(int(magic32_));
        const __m128i even = _mm_srli_epi64(_mm_mul_epu32(n, magic), 32);
        const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(n, 32), magic), 32);
        // Channels 0 and 2 in `even`, 1 and 3 in `odd`, each in the low half of its lane.
        const __m128i q = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
        const __m128i words = _mm_packs_epi32(q, q);
        return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#endif
    }

#ifdef KELVO_DOWNSCALE_SSE2
    // rounded_pixel for four pixels, packed together once.
    void rounded_pixels4(const uint32_t* sums, uint32_t* out) const {
        const __m128i half = _mm_set1_epi32(int(half_)), magic = _mm_set1_epi32(int(magic32_));
        __m128i q[4];
        for (int i = 0; i < 4; ++i) {
            const __m128i n = _mm_add_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + 4 * i)), half);
            const __m128i even = _mm_srli_epi64(_mm_mul_epu32(n, magic), 32);
            const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(n, 32), magic), 32);
            q[i] = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
        }
        const __m128i words = _mm_packs_epi32(q[0], q[1]), more = _mm_packs_epi32(q[2], q[3]);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, more));
    }
#endif

  private:
    uint64_t d_, half_, magic_, magic40_, magic32_;
};

// One source row reduced across for output columns [left, right): four
// channel sums per output pixel. With weights below 2^15 a pixel's four
// channels are weighed in one SSE2 multiply-add (each 32-bit lane holds a
// channel and a zero).
inline void reduce_across(const uint32_t* row, const Spans& across, int left, int right,
                          uint32_t* sums) {
    const uint32_t* weights = across.weights.data();
    const Span* const spans_begin = across.spans.data() + left;
    const Span* const spans_end = across.spans.data() + right;
#ifdef KELVO_DOWNSCALE_SSE2
    if (across.three) {
        // At most three pixels an output pixel, as every shrink from a DCT
        // scale has (less than twice smaller): no loop, no branch.
        const __m128i zero = _mm_setzero_si128();
        const Three* t = across.threes.data() + left;
        for (int x = left; x < right; ++x, ++t, sums += 4) {
            const uint32_t* p = row + t->first;
            const __m128i two =
                _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p[0])),
                                                    _mm_cvtsi32_si128(int(p[t->second]))),
                                  zero);
            const __m128i third = _mm_unpacklo_epi16(
                _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p[t->third])), zero), zero);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sums),
                             _mm_add_epi32(_mm_madd_epi16(two, _mm_set1_epi32(int(t->pair))),
                                           _mm_madd_epi16(third, _mm_set1_epi32(int(t->last)))));
        }
        return;
    }
    if (across.small_weights) {
        const __m128i zero = _mm_setzero_si128();
        for (const Span* s_at = spans_begin; s_at != spans_end; ++s_at) {
            const Span& s = *s_at;
            __m128i sum = zero;
            const uint32_t* p = row + s.first;
            const uint32_t* w = weights + s.weight;
            const uint32_t* w2 = across.pairs.data() + s.weight;
            // Two pixels a multiply-add: their channels interleaved, b0 b1 g0 g1 ...
            int k = 0;
            for (; k + 1 < s.count; k += 2) {
                const __m128i two =
                    _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p[k])),
                                                        _mm_cvtsi32_si128(int(p[k + 1]))),
                                      zero);
                sum = _mm_add_epi32(sum, _mm_madd_epi16(two, _mm_set1_epi32(int(w2[k]))));
            }
            if (k < s.count) {
                const __m128i px =
                    _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(p[k])), zero), zero);
                sum = _mm_add_epi32(sum, _mm_madd_epi16(px, _mm_set1_epi32(int(w[k]))));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), sum);
            sums += 4;
        }
        return;
    }
#endif
    for (const Span* s_at = spans_begin; s_at != spans_end; ++s_at) {
        const Span& s = *s_at;
        uint32_t b = 0, g = 0, r = 0, a = 0;
        const uint32_t* p = row + s.first;
        const uint32_t* w = weights + s.weight;
        for (int k = 0; k < s.count; ++k) {
            const uint32_t px = p[k], wk = w[k];
            b += wk * (px & 0xFF);
            g += wk * ((px >> 8) & 0xFF);
            r += wk * ((px >> 16) & 0xFF);
            a += wk * (px >> 24);
        }
        sums[0] = b, sums[1] = g, sums[2] = r, sums[3] = a;
        sums += 4;
    }
}

// sums[i] += weight * reduced[i] for the n channel sums of a row. With
// `small_products` (reduced values and weight below 2^15) a 16-bit
// multiply-add does four lanes at once, as across.
// With `first`, the sums start from these products instead (nothing to clear).
template <class Sum>
inline void add_weighted(Sum* sums, const uint32_t* reduced, size_t n, Sum weight,
                         [[maybe_unused]] bool small_products, bool first = false) {
#ifdef KELVO_DOWNSCALE_SSE2
    if constexpr (sizeof(Sum) == 4) {
        if (small_products) {
            const __m128i w = _mm_set1_epi32(int(weight));
            size_t i = 0;
            if (first)
                for (; i + 4 <= n; i += 4)
                    _mm_storeu_si128(
                        reinterpret_cast<__m128i*>(sums + i),
                        _mm_madd_epi16(
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(reduced + i)), w));
            else
                for (; i + 4 <= n; i += 4) {
                    auto* at = reinterpret_cast<__m128i*>(sums + i);
                    const __m128i v =
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(reduced + i));
                    _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_madd_epi16(v, w)));
                }
            for (; i < n; ++i)
                sums[i] = (first ? 0 : sums[i]) + weight * reduced[i];
            return;
        }
    }
#endif
    if (first)
        for (size_t i = 0; i < n; ++i)
            sums[i] = weight * reduced[i];
    else
        for (size_t i = 0; i < n; ++i)
            sums[i] += weight * reduced[i];
}

// One output row from its channel sums: each divided by the weights' total,
// rounded to the nearest.
template <class Sum>
inline void divide_row(const Sum* sums, size_t w, const Divider& divide, uint32_t* out) {
    if constexpr (sizeof(Sum) == 4) {
        if (divide.in_simd()) {
            size_t x = 0;
#ifdef KELVO_DOWNSCALE_SSE2
            for (; x + 4 <= w; x += 4)
                divide.rounded_pixels4(sums + x * 4, out + x);
#endif
            for (; x < w; ++x)
                out[x] = divide.rounded_pixel(sums + x * 4);
            return;
        }
    }
    for (size_t x = 0; x < w; ++x) {
        const Sum* c = sums + x * 4;
        out[x] = divide.rounded(c[0]) | divide.rounded(c[1]) << 8 | divide.rounded(c[2]) << 16 |
                 divide.rounded(c[3]) << 24;
    }
}

// Both factors below 2^15: the across sums stay under 2^15 and so does the weight.
inline bool small_products(const Spans& across, const Spans& down) {
    return across.total * 255u < (1u << 15) && down.total < (1u << 15);
}

// The sums of an output pixel fit 32 bits.
inline bool sums_fit_32_bits(const Spans& across, const Spans& down) {
    return uint64_t(across.total) * down.total < (uint64_t(1) << 24);
}

} // namespace area_average
