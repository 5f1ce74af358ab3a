#include "platform/downscale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

// The fast path uses SSE2 (every x86-64) and the 128-bit integers of GCC and
// Clang on 64-bit machines; elsewhere (ARM64, or with
// KELVO_PORTABLE_DOWNSCALE defined, as one test build does) plain C++ gives
// the same results bit for bit.
#if defined(__SSE2__) && !defined(KELVO_PORTABLE_DOWNSCALE)
#define KELVO_DOWNSCALE_SSE2 1
#include <emmintrin.h>
#endif
#if defined(__SIZEOF_INT128__) && !defined(KELVO_PORTABLE_DOWNSCALE)
#define KELVO_DOWNSCALE_INT128 1
#endif

// Output pixels are laid on the source in units of 1/to of a source pixel:
// source pixel i spans [i * to, (i + 1) * to) and output pixel x spans
// [x * from, (x + 1) * from), so every overlap is a whole number. All the
// boundaries are multiples of g = gcd(from, to), and so is every overlap;
// dividing by g keeps the weights (and their sum, from / g) small.
//
// Why the rows can be written where they are read: output row y covers the
// source rows from floor(y * H / h) on, and as h <= H that is row y or later.
// Output rows are shrunk in bands [Y, E) into a scratch band, and the band is
// copied into place (packed, at byte Y * w * 4 up to E * w * 4, which lies in
// source rows before E since w * 4 <= the source's bytes per line) once all
// of its rows are done. Every later band reads source rows from
// floor(E * H / h) >= E on, all still untouched. The tests compare the result
// with a filter reading an untouched copy, on pictures of many shapes.

namespace {

// The high 64 bits of the 128-bit product a * b.
uint64_t multiply_high(uint64_t a, uint64_t b) {
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
struct Spans {
    std::vector<Span> spans;
    std::vector<uint32_t> weights;
    uint32_t total = 1;
    bool small_weights = false; // all below 2^15

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
        small_weights = to / g < (1 << 15); // no overlap is longer than a source pixel, `to`
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

  private:
    uint64_t d_, half_, magic_, magic40_, magic32_;
};

// One source row reduced across: four channel sums per output pixel. With
// weights below 2^15 a pixel's four channels are weighed in one SSE2
// multiply-add (each 32-bit lane holds a channel and a zero).
void reduce_across(const uint32_t* row, const Spans& across, uint32_t* sums) {
    const uint32_t* weights = across.weights.data();
#ifdef KELVO_DOWNSCALE_SSE2
    if (across.small_weights) {
        const __m128i zero = _mm_setzero_si128();
        for (const Span& s : across.spans) {
            __m128i sum = zero;
            const uint32_t* p = row + s.first;
            const uint32_t* w = weights + s.weight;
            for (int k = 0; k < s.count; ++k) {
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
    for (const Span& s : across.spans) {
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

// Shrinks the output rows [from_row, to_row) into `out` (packed rows), from
// source rows nobody writes meanwhile. Sums is 32 bits wide where the largest
// sum, 255 times the weights' total, fits.
template <class Sum>
void shrink_rows(const uchar* bits, qsizetype source_line, const Spans& across, const Spans& down,
                 const Divider& divide, int from_row, int to_row, uint32_t* out) {
    const size_t w = across.spans.size();
    // Both factors below 2^15: across sums stay under 255 times their total.
    [[maybe_unused]] const bool small_products = across.total * 255u < (1u << 15) && down.total < (1u << 15);
    std::vector<uint32_t> reduced(w * 4);
    std::vector<Sum> sums(w * 4);
    int reduced_row = -1; // the source row `reduced` holds
    for (int y = from_row; y < to_row; ++y) {
        const Span& s = down.spans[size_t(y)];
        std::fill(sums.begin(), sums.end(), Sum(0));
        for (int k = 0; k < s.count; ++k) {
            const int j = s.first + k;
            // A source row on the border of two output rows is reduced once.
            if (j != reduced_row) {
                reduce_across(reinterpret_cast<const uint32_t*>(bits + j * source_line), across,
                              reduced.data());
                reduced_row = j;
            }
            const Sum wy = down.weights[size_t(s.weight + k)];
            Sum* sum = sums.data();
            const uint32_t* r = reduced.data();
#ifdef KELVO_DOWNSCALE_SSE2
            if constexpr (sizeof(Sum) == 4) {
                if (small_products) { // a 16-bit multiply-add per lane, as across
                    const __m128i weight = _mm_set1_epi32(int(wy));
                    for (size_t i = 0; i < w * 4; i += 4) {
                        auto* at = reinterpret_cast<__m128i*>(sum + i);
                        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + i));
                        _mm_storeu_si128(
                            at, _mm_add_epi32(_mm_loadu_si128(at), _mm_madd_epi16(v, weight)));
                    }
                    continue;
                }
            }
#endif
            for (size_t i = 0; i < w * 4; ++i)
                sum[i] += wy * r[i];
        }
        if constexpr (sizeof(Sum) == 4) {
            if (divide.in_simd()) {
                for (size_t x = 0; x < w; ++x)
                    out[x] = divide.rounded_pixel(sums.data() + x * 4);
                out += w;
                continue;
            }
        }
        for (size_t x = 0; x < w; ++x) {
            const Sum* c = sums.data() + x * 4;
            out[x] = divide.rounded(c[0]) | divide.rounded(c[1]) << 8 | divide.rounded(c[2]) << 16 |
                     divide.rounded(c[3]) << 24;
        }
        out += w;
    }
}

// Pixels of four 8-bit channels, in whatever order: each is averaged alone.
bool four_bytes(QImage::Format format) {
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

void release_image(void* image) {
    delete static_cast<QImage*>(image);
}

} // namespace

void downscale_in_place(QImage& image, QSize to) {
    const QSize from = image.size();
    if (to == from) return;
    if (to.isEmpty() || to.width() > from.width() || to.height() > from.height() ||
        !four_bytes(image.format())) {
        image = image.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return;
    }
    const int w = to.width(), h = to.height();
    const Spans across(from.width(), w), down(from.height(), h);
    const Divider divide(uint64_t(across.total) * down.total);

    uchar* bits = image.bits(); // unshares the memory before it is written
    const qsizetype source_line = image.bytesPerLine();
    const qsizetype result_line = qsizetype(w) * 4;
    const bool narrow = uint64_t(across.total) * down.total < (uint64_t(1) << 24);
    // Bands of output rows are shrunk by two threads into a scratch band, then
    // copied into place: within a band one thread's rows may lie over source
    // rows the other still reads, but no later band reads them (see above).
    const int band = std::clamp(int((qsizetype(4) << 20) / result_line), 2, 256);
    std::vector<uint32_t> scratch(size_t(std::min(band, h)) * size_t(w));
    const auto shrink = [&](int first, int last, uint32_t* out) {
        if (narrow)
            shrink_rows<uint32_t>(bits, source_line, across, down, divide, first, last, out);
        else
            shrink_rows<uint64_t>(bits, source_line, across, down, divide, first, last, out);
    };
    const bool threaded = qint64(from.width()) * from.height() >= (1 << 20);
    for (int y = 0; y < h; y += band) {
        const int end = std::min(h, y + band), middle = threaded ? (y + end) / 2 : end;
        std::thread other;
        if (middle < end)
            other =
                std::thread(shrink, middle, end, scratch.data() + size_t(middle - y) * size_t(w));
        shrink(y, middle, scratch.data());
        if (other.joinable()) other.join();
        std::memcpy(bits + y * result_line, scratch.data(), size_t(end - y) * size_t(result_line));
    }
    // The pages past the shrunk picture go back to the system now, not when
    // the picture is let go: a view keeps a small picture across a step while
    // the next is decoded, and it must cost what it measures.
    const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const quintptr used =
        (quintptr(bits) + quintptr(h) * quintptr(result_line) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(bits) + quintptr(image.sizeInBytes())) & ~(page - 1);
    if (end > used) ::madvise(reinterpret_cast<void*>(used), end - used, MADV_DONTNEED);
    const QImage::Format format = image.format();
    auto* owner = new QImage(std::move(image));
    image = QImage(bits, w, h, result_line, format, release_image, owner);
}
