// SPDX-License-Identifier: MIT
#include "picture/area_shrink.h"
#include "picture/downscale.h"
#include "picture/shrink_stream.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

QImage random_picture(QSize size, quint32 seed, QImage::Format format = QImage::Format_RGB32) {
    QRandomGenerator random(seed);
    QImage picture(size, format);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = format == QImage::Format_RGB32 ? 0xff000000u | random.generate()
                                                    : random.generate();
    }
    return picture;
}

// The weights along one side the slow, obvious way: the part of source pixel
// i under output pixel x, in units of 1/to of a pixel so that parts are whole,
// over their gcd. Where that leaves more than q = 8 x ceil(from / to) parts to
// an output pixel, too many for 16-bit sums, the boundaries between its source
// pixels are rounded to the nearest q-th of it instead, and the weights are
// the q-ths between them: the rule the shrinking follows for speed.
struct Weights {
    std::vector<std::vector<std::pair<int, int64_t>>> of; // of[x]: (i, weight) for i under x
    int64_t total = 0;
};
Weights side_weights(int64_t from, int64_t to) {
    const int64_t g = std::gcd(from, to), q = 8 * ((from + to - 1) / to);
    Weights w{std::vector<std::vector<std::pair<int, int64_t>>>(size_t(to)), from / g};
    for (int64_t x = 0; x < to; ++x) {
        int64_t running = 0, before = 0;
        // Only the source pixels the output pixel can touch, for speed.
        for (int64_t i = x * from / to; i <= std::min(from - 1, (x + 1) * from / to); ++i) {
            const int64_t part =
                std::min((i + 1) * to, (x + 1) * from) - std::max(i * to, x * from);
            if (part <= 0) continue;
            running += part / g;
            const int64_t boundary =
                w.total > q ? (2 * q * running + w.total) / (2 * w.total) : running;
            w.of[size_t(x)].push_back({int(i), boundary - before});
            before = boundary;
        }
    }
    if (w.total > q) w.total = q;
    return w;
}

// The area average the slow, obvious way, from a picture nobody writes to.
QImage naive_box_filter(const QImage& source, QSize to) {
    const Weights across = side_weights(source.width(), to.width()),
                  down = side_weights(source.height(), to.height());
    QImage out(to, source.format());
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) {
            uint64_t sum[4] = {0, 0, 0, 0};
            for (const auto& [j, wy] : down.of[size_t(y)])
                for (const auto& [i, wx] : across.of[size_t(x)]) {
                    const quint32 p = reinterpret_cast<const quint32*>(source.constScanLine(j))[i];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += uint64_t(wx * wy) * ((p >> (8 * c)) & 0xFF);
                }
            const uint64_t area = uint64_t(across.total * down.total);
            quint32 p = 0;
            for (int c = 0; c < 4; ++c)
                p |= quint32((sum[c] + area / 2) / area) << (8 * c);
            reinterpret_cast<quint32*>(out.scanLine(y))[x] = p;
        }
    return out;
}

// The first pixel that differs, as text, or nothing when all are the same.
std::string first_difference(const QImage& got, const QImage& want) {
    if (got.size() != want.size()) return "sizes differ";
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       std::to_string(got.pixel(x, y)) + " instead of " +
                       std::to_string(want.pixel(x, y));
    return {};
}

struct Shrink {
    QSize from, to;
};

// Ratios just below 1, halves, odd sides, one-pixel results, the 1/8 of the
// smallest DCT scale and beyond, and one direction left alone.
const Shrink shrinks[] = {
    {{10, 10}, {9, 9}},
    {{100, 7}, {99, 7}},
    {{7, 100}, {7, 99}},
    {{64, 48}, {32, 24}},
    {{33, 17}, {16, 8}},
    {{31, 29}, {17, 13}},
    {{80, 64}, {10, 8}},
    {{97, 61}, {12, 7}},
    {{50, 40}, {1, 1}},
    {{50, 40}, {50, 1}},
    {{50, 40}, {1, 40}},
    {{13, 11}, {5, 11}},
    {{200, 150}, {3, 2}},
    {{75, 50}, {60, 40}},
    {{60, 40}, {54, 36}},
    {{2, 2}, {1, 1}},
    // Weights rounded to 16ths and 64ths (too many parts to a pixel); large
    // pictures, shrunk by two threads in bands of rows.
    {{331, 211}, {330, 210}},
    {{1200, 900}, {1100, 700}},
    {{1300, 1000}, {163, 125}},
    // Small weights on two threads, all sums in 16 bits.
    {{1205, 1001}, {964, 858}},
};

TEST(Downscale, GivesExactlyTheAskedSizeInThePicturesOwnMemory) {
    for (const Shrink& s : shrinks) {
        QImage picture = random_picture(s.from, 1);
        const uchar* memory = picture.constBits();
        downscale_in_place(picture, s.to);
        EXPECT_EQ(picture.size(), s.to) << s.from.width() << "x" << s.from.height();
        EXPECT_EQ(picture.format(), QImage::Format_RGB32);
        EXPECT_EQ(picture.bytesPerLine(), qsizetype(s.to.width()) * 4);
        EXPECT_EQ(picture.constBits(), memory) << "a second picture was made";
    }
}

TEST(Downscale, UniformColourStaysUniform) {
    for (const Shrink& s : shrinks)
        for (const QRgb colour : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(10, 200, 77)}) {
            QImage picture(s.from, QImage::Format_RGB32);
            picture.fill(colour);
            downscale_in_place(picture, s.to);
            const QImage flat = picture.copy();
            for (int y = 0; y < flat.height(); ++y)
                for (int x = 0; x < flat.width(); ++x)
                    ASSERT_EQ(flat.pixel(x, y), colour) << "at " << x << "," << y;
        }
}

TEST(Downscale, HalvingAveragesEachTwoByTwoBlockExactly) {
    const QImage source = random_picture({40, 30}, 7);
    QImage half = source;
    downscale_in_place(half, {20, 15});
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb a = source.pixel(2 * x, 2 * y), b = source.pixel(2 * x + 1, 2 * y),
                       c = source.pixel(2 * x, 2 * y + 1), d = source.pixel(2 * x + 1, 2 * y + 1);
            const auto mean = [](int p, int q, int r, int s) { return (p + q + r + s + 2) / 4; };
            ASSERT_EQ(half.pixel(x, y), qRgb(mean(qRed(a), qRed(b), qRed(c), qRed(d)),
                                             mean(qGreen(a), qGreen(b), qGreen(c), qGreen(d)),
                                             mean(qBlue(a), qBlue(b), qBlue(c), qBlue(d))))
                << "at " << x << "," << y;
        }
    // The source was shared with `half`, so it is left as it was.
    EXPECT_EQ(source, random_picture({40, 30}, 7));
}

// Every output row is written over source rows; a row read after it was
// overwritten would show as a difference from the filter that reads an
// untouched copy.
TEST(Downscale, InPlaceMatchesTheOutOfPlaceFilterPixelForPixel) {
    quint32 seed = 100;
    for (const Shrink& s : shrinks) {
        const QImage source = random_picture(s.from, ++seed);
        QImage shrunk = source.copy();
        downscale_in_place(shrunk, s.to);
        EXPECT_EQ(first_difference(shrunk, naive_box_filter(source, s.to)), "")
            << s.from.width() << "x" << s.from.height() << " to " << s.to.width() << "x"
            << s.to.height();
        // Shrunk into other memory, from a kept picture left as it was.
        EXPECT_EQ(first_difference(downscaled_copy(source, s.to), shrunk), "");
    }
    // Weights rounded to 16ths across and whole down: 8193 x 2049 parts.
    const QImage tall = random_picture({8193, 2049}, 9);
    QImage line = tall.copy();
    downscale_in_place(line, {8192, 1});
    EXPECT_EQ(first_difference(line, naive_box_filter(tall, {8192, 1})), "");
    // Weights of 2^15 and more, sums of 64 bits: 40000 x 420 parts of a pixel.
    const QImage wide = random_picture({40000, 420}, 10);
    QImage dot = wide.copy();
    downscale_in_place(dot, {1, 1});
    EXPECT_EQ(first_difference(dot, naive_box_filter(wide, {1, 1})), "");
    // Transparent pictures average their alpha channel alike.
    const QImage argb = random_picture({23, 19}, 5, QImage::Format_ARGB32_Premultiplied);
    QImage shrunk = argb.copy();
    downscale_in_place(shrunk, {9, 7});
    EXPECT_EQ(first_difference(shrunk, naive_box_filter(argb, {9, 7})), "");
}

// Any part shrunk alone, into rows wider than it, is that part of the whole
// shrunk at once: small and large weights, and a part large enough for two
// threads (1200 x 1000 to 90%).
TEST(Downscale, APartShrunkAloneIsThatPartOfTheWhole) {
    std::vector<Shrink> cases(std::begin(shrinks), std::end(shrinks));
    cases.push_back({{1200, 1000}, {1080, 900}});
    cases.push_back({{5473, 40}, {547, 4}});
    quint32 seed = 300;
    for (const Shrink& s : cases) {
        const QImage source = random_picture(s.from, ++seed);
        const QImage whole = downscaled_copy(source, s.to);
        const AreaShrink shrink(s.from, s.to);
        const QRect all(QPoint(0, 0), s.to);
        for (const QRect part :
             {all, QRect(s.to.width() / 3, s.to.height() / 2, s.to.width() / 2 + 1,
                         s.to.height() - s.to.height() / 2)}) {
            QImage into(part.width() + 3, part.height(), QImage::Format_RGB32);
            shrink.shrink(source, part, into.bits(), into.bytesPerLine());
            EXPECT_EQ(
                first_difference(into.copy(0, 0, part.width(), part.height()), whole.copy(part)),
                "")
                << s.from.width() << "x" << s.from.height() << " to " << s.to.width() << "x"
                << s.to.height() << ", part at " << part.x() << "," << part.y();
        }
    }
}

// Rows handed over in uneven bands, as a decoder hands them, on the pipe's
// thread for the large pictures, give the pixels of the in-place shrinking.
TEST(Downscale, RowsShrunkAsTheyComeMatchTheInPlaceShrinking) {
    quint32 seed = 200;
    for (const Shrink& s : shrinks) {
        const QImage source = random_picture(s.from, ++seed);
        QImage expected = source.copy();
        downscale_in_place(expected, s.to);
        QImage streamed(s.to, QImage::Format_RGB32);
        ShrinkPipe pipe(s.from, streamed, 7);
        for (int y = 0, rows = 1; y < s.from.height(); y += rows, rows = rows % 7 + 1) {
            rows = std::min(rows, s.from.height() - y);
            std::memcpy(pipe.band(), source.constScanLine(y),
                        size_t(rows) * size_t(pipe.band_line()));
            pipe.hand_over(rows);
        }
        EXPECT_TRUE(pipe.finish());
        EXPECT_EQ(first_difference(streamed, expected), "")
            << s.from.width() << "x" << s.from.height();
    }
}

TEST(Downscale, ShrunkPictureOutlivesAndDetachesLikeAnyOther) {
    QImage picture = random_picture({30, 20}, 3);
    downscale_in_place(picture, {10, 5});
    const QImage shown = picture;          // shares the memory
    picture.setPixel(0, 0, qRgb(1, 2, 3)); // unshares it first
    EXPECT_NE(shown.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(1, 2, 3));
    picture = QImage(); // the last holder of the memory besides `shown`
    EXPECT_EQ(shown.size(), QSize(10, 5));
    EXPECT_EQ(shown.copy().size(), QSize(10, 5));
}

TEST(Downscale, SizesThatDoNotShrinkAreScaledIntoNewMemory) {
    QImage picture = random_picture({20, 10}, 4);
    downscale_in_place(picture, {20, 10});
    EXPECT_EQ(picture, random_picture({20, 10}, 4)) << "the same size changes nothing";
    downscale_in_place(picture, {10, 30}); // narrower but taller
    EXPECT_EQ(picture.size(), QSize(10, 30));
    QImage grey(12, 12, QImage::Format_Grayscale8);
    grey.fill(100);
    downscale_in_place(grey, {5, 5});
    EXPECT_EQ(grey.size(), QSize(5, 5));
    EXPECT_EQ(qGray(grey.pixel(2, 2)), 100);
}

} // namespace
