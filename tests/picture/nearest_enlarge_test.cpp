// SPDX-License-Identifier: MIT
#include "picture/nearest_enlarge.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Every pixel different, and its value tells where it came from.
QImage numbered_picture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xff000000u | (x << 12) | y);
    return picture;
}

// The whole picture magnified the slow, obvious way: one division per pixel.
QImage naive_magnified(const QImage& picture, QSize shown) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const qint64 w = rgb.width(), h = rgb.height();
    QImage out(shown, QImage::Format_RGB32);
    for (qint64 y = 0; y < shown.height(); ++y)
        for (qint64 x = 0; x < shown.width(); ++x)
            out.setPixel(int(x), int(y),
                         rgb.pixel(int(std::min(x * w / shown.width(), w - 1)),
                                   int(std::min(y * h / shown.height(), h - 1))));
    return out;
}

// First differing pixel, for a readable failure.
::testing::AssertionResult same_pixels(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << ", expected "
               << expected.width() << "x" << expected.height();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << actual.pixel(x, y)
                       << ", expected " << expected.pixel(x, y);
    return ::testing::AssertionSuccess();
}

std::vector<int> mapped_columns(int shown_len, int src_len) {
    std::vector<int> columns;
    for (int dx = 0; dx < shown_len; ++dx)
        columns.push_back(source_index(dx, shown_len, src_len));
    return columns;
}

} // namespace

TEST(NearestEnlarge, ShownColumnsShowTheNearestPictureColumnAtEveryZoom) {
    // 250%: 4 columns over 10, floor(dx * 4 / 10).
    EXPECT_EQ(mapped_columns(10, 4), (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
    // 110%: 10 columns over 11, only the first is shown twice.
    EXPECT_EQ(mapped_columns(11, 10), (std::vector<int>{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    // 510%: 10 columns over 51, every column 5 or 6 times, in order.
    const std::vector<int> at510 = mapped_columns(51, 10);
    std::vector<int> times(10, 0);
    for (size_t i = 0; i < at510.size(); ++i) {
        ++times[size_t(at510[i])];
        if (i > 0) {
            EXPECT_LE(at510[i - 1], at510[i]);
        }
    }
    EXPECT_EQ(times, (std::vector<int>{6, 5, 5, 5, 5, 5, 5, 5, 5, 5}));

    // 100% is the identity.
    for (int dx = 0; dx < 6000; ++dx)
        ASSERT_EQ(source_index(dx, 6000, 6000), dx);

    // Products past 2^31 (a wide picture at 510%) must not wrap.
    EXPECT_EQ(source_index(509999, 510000, 100000), 99999);
    EXPECT_EQ(source_index(255000, 510000, 100000), 50000);

    // Outside the view: the nearest edge; empty lengths give 0.
    EXPECT_EQ(source_index(-3, 51, 10), 0);
    EXPECT_EQ(source_index(51, 51, 10), 9);
    EXPECT_EQ(source_index(9999, 51, 10), 9);
    EXPECT_EQ(source_index(5, 0, 10), 0);
}

TEST(NearestEnlarge, AnyRegionEqualsTheSameRectangleOfTheWholeMagnifiedPicture) {
    const QImage picture = numbered_picture(37, 23);
    const QSize shown_sizes[] = {
        {189, 117}, // 510%
        {93, 58},   // 250%
        {41, 25},   // 110%
        {37, 23},   // 100%
        {4, 2},     // 10%
        {150, 23},  // stretched one way only
    };
    QRandomGenerator random(20240611);
    for (const QSize shown : shown_sizes) {
        SCOPED_TRACE(testing::Message() << "shown " << shown.width() << "x" << shown.height());
        const QImage whole = naive_magnified(picture, shown);
        EXPECT_TRUE(same_pixels(enlarged_region(picture, shown, QRect(QPoint(), shown)), whole));
        for (int n = 0; n < 40; ++n) {
            const int x = random.bounded(shown.width());
            const int y = random.bounded(shown.height());
            const QRect region(x, y, 1 + random.bounded(shown.width() - x),
                               1 + random.bounded(shown.height() - y));
            SCOPED_TRACE(testing::Message() << "region at " << x << "," << y << " size "
                                            << region.width() << "x" << region.height());
            ASSERT_TRUE(same_pixels(enlarged_region(picture, shown, region), whole.copy(region)));
        }
    }
}

TEST(NearestEnlarge, RegionsAtTheFarRightAndBottomShowTheLastPictureColumnAndRow) {
    const QImage picture = numbered_picture(37, 23);
    const QSize shown(189, 117);
    const QImage whole = naive_magnified(picture, shown);

    const QRect corner(150, 100, 39, 17); // ends exactly at the shown edge
    const QImage region = enlarged_region(picture, shown, corner);
    EXPECT_TRUE(same_pixels(region, whole.copy(corner)));
    EXPECT_EQ(region.pixel(38, 16), picture.pixel(36, 22));

    const QRect last_column(188, 0, 1, 117);
    EXPECT_TRUE(same_pixels(enlarged_region(picture, shown, last_column), whole.copy(last_column)));
    const QRect last_row(0, 116, 189, 1);
    EXPECT_TRUE(same_pixels(enlarged_region(picture, shown, last_row), whole.copy(last_row)));

    // A region reaching past the shown size repeats the last column and row.
    const QImage beyond = enlarged_region(picture, shown, QRect(185, 113, 10, 10));
    ASSERT_EQ(beyond.size(), QSize(10, 10));
    EXPECT_EQ(beyond.pixel(9, 9), picture.pixel(36, 22));
    EXPECT_EQ(beyond.pixel(9, 0), picture.pixel(36, 22));
}

TEST(NearestEnlarge, AOnePixelPictureFillsEveryShownPixel) {
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(qRgb(12, 34, 56));
    for (const QSize shown : {QSize(1, 1), QSize(5, 5), QSize(51, 3)}) {
        const QImage out = enlarged_region(dot, shown, QRect(QPoint(), shown));
        QImage expected(shown, QImage::Format_RGB32);
        expected.fill(qRgb(12, 34, 56));
        EXPECT_TRUE(same_pixels(out, expected));
    }

    const QImage column = numbered_picture(1, 7);
    const QSize shown(5, 35);
    EXPECT_TRUE(same_pixels(enlarged_region(column, shown, QRect(0, 3, 5, 30)),
                            naive_magnified(column, shown).copy(0, 3, 5, 30)));
}

TEST(NearestEnlarge, PicturesInOtherFormatsShowTheSameColoursAsInRgb32) {
    const QImage picture = numbered_picture(29, 17);
    const QSize shown(148, 87);
    const QRect region(20, 11, 100, 60);

    QImage palette_picture(29, 17, QImage::Format_Indexed8);
    palette_picture.setColorTable({qRgb(255, 0, 0), qRgb(0, 200, 0), qRgb(1, 2, 3)});
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 29; ++x)
            palette_picture.setPixel(x, y, uint((x + 2 * y) % 3));

    const QImage others[] = {
        picture.convertToFormat(QImage::Format_RGB888),
        picture.convertToFormat(QImage::Format_ARGB32),
        picture.convertToFormat(QImage::Format_Grayscale8),
        palette_picture,
    };
    for (const QImage& other : others) {
        SCOPED_TRACE(testing::Message() << "format " << int(other.format()));
        const QImage out = enlarged_region(other, shown, region);
        EXPECT_EQ(out.format(), QImage::Format_RGB32);
        EXPECT_TRUE(same_pixels(out, naive_magnified(other, shown).copy(region)));
    }
}

TEST(NearestEnlarge, CallersBuffersWork) {
    const QImage picture = numbered_picture(40, 30);
    const QSize shown(204, 153);
    const QImage whole = naive_magnified(picture, shown);

    // Into a part of a larger canvas: the rest of it stays as it was.
    QImage canvas(80, 60, QImage::Format_RGB32);
    canvas.fill(qRgb(1, 1, 1));
    ASSERT_TRUE(enlarge_region_into(picture, shown, QRect(30, 20, 40, 30),
                                    canvas.scanLine(5) + 7 * 4, canvas.bytesPerLine()));
    EXPECT_TRUE(same_pixels(canvas.copy(7, 5, 40, 30), whole.copy(30, 20, 40, 30)));
    EXPECT_EQ(canvas.pixel(6, 5), qRgb(1, 1, 1));
    EXPECT_EQ(canvas.pixel(47, 34), qRgb(1, 1, 1));
    EXPECT_EQ(canvas.pixel(7, 35), qRgb(1, 1, 1));

    // Nothing to draw: a null image, the canvas untouched.
    EXPECT_TRUE(enlarged_region(picture, shown, QRect(3, 3, 0, 5)).isNull());
    EXPECT_TRUE(enlarged_region(QImage(), shown, QRect(0, 0, 5, 5)).isNull());
    EXPECT_FALSE(enlarge_region_into(picture, QSize(0, 10), QRect(0, 0, 5, 5), canvas.bits(),
                                     canvas.bytesPerLine()));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(1, 1, 1));
}

TEST(NearestEnlarge, WholeRowsUseTheSameColumnsAndColoursAsRegions) {
    // The column table is source_index, column for column.
    EXPECT_EQ(source_columns(51, 10), mapped_columns(51, 10));
    EXPECT_EQ(source_columns(11, 10), mapped_columns(11, 10));
    EXPECT_EQ(source_columns(4, 10), mapped_columns(4, 10));
    EXPECT_TRUE(source_columns(0, 10).empty());

    // An RGB32 picture is read in place, whatever rows are asked for.
    const QImage picture = numbered_picture(13, 9);
    const Rgb32Rows own = rgb32_rows(picture, 2, 5);
    EXPECT_EQ(own.row(4), reinterpret_cast<const QRgb*>(picture.constScanLine(4)));

    // Other formats: the rows asked for, in the colours a magnified region shows.
    QImage translucent = picture.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < 13; ++x)
        translucent.setPixel(x, 3, qRgba(200, 10, 90, x * 20));
    const QImage others[] = {translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                             picture.convertToFormat(QImage::Format_RGB888),
                             picture.convertToFormat(QImage::Format_Grayscale8)};
    const QSize shown(66, 46);
    for (const QImage& other : others) {
        SCOPED_TRACE(testing::Message() << "format " << int(other.format()));
        const Rgb32Rows rows = rgb32_rows(other, 2, 5);
        ASSERT_FALSE(rows.pixels.isNull());
        EXPECT_EQ(rows.pixels.height(), 4);
        ASSERT_EQ(source_index(16, 46, 9), 3);
        const QImage region = enlarged_region(other, shown, QRect(0, 16, 66, 1));
        const std::vector<int> columns = source_columns(66, 13);
        for (int x = 0; x < 66; ++x)
            ASSERT_EQ(rows.row(3)[columns[size_t(x)]], region.pixel(x, 0)) << x;
    }
    // Rows past the picture are left out.
    EXPECT_EQ(rgb32_rows(others[1], 7, 20).pixels.height(), 2);
}
