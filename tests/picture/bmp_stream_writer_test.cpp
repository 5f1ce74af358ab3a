// SPDX-License-Identifier: MIT
#include "picture/bmp_stream_writer.h"

#include "bitmap_readback.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <vector>

namespace {

QImage random_picture(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xff000000u | random.generate());
    return picture;
}

// Writes `picture` in bands of the given heights, taken in the given order.
QString write_in_bands(const QString& path, const QImage& picture, const QList<int>& heights,
                       bool bottom_band_first = false) {
    QList<QPair<int, int>> bands; // top, height
    int top = 0;
    for (const int h : heights) {
        bands.append({top, h});
        top += h;
    }
    if (bottom_band_first) std::reverse(bands.begin(), bands.end());
    BmpStreamWriter writer(path, picture.width(), picture.height());
    QString why = writer.open();
    for (const auto& [band_top, h] : bands)
        if (why.isEmpty())
            why = writer.write_band(band_top, picture.copy(0, band_top, picture.width(), h));
    return why.isEmpty() ? writer.finish() : why;
}

// What a reader makes of the file, in the format the source pictures use.
QImage read_back(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

quint32 u32_at(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
qint32 i32_at(const QByteArray& bytes, int at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}
quint16 u16_at(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

TEST(BmpStreamWriter, APictureWrittenInUnevenBandsReadsBackPixelForPixel) {
    QTemporaryDir dir;
    // Widths 1, 2, 3 and 5 need 3, 2, 1 and 1 bytes of row padding; 4 needs none.
    for (const int width : {1, 2, 3, 4, 5, 37}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        const QImage picture = random_picture(width, 23, quint32(width));
        const QString path = dir.filePath(QString("w%1.bmp").arg(width));
        const QString error = write_in_bands(path, picture, {1, 7, 3, 12});
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_TRUE(read_back(path) == picture);
    }

    // Bands may come bottom first, and in formats other than RGB32.
    const QImage picture = random_picture(13, 20, 99);
    const QString path = dir.filePath("reversed.bmp");
    ASSERT_TRUE(write_in_bands(path, picture, {6, 6, 6, 2}, true).isEmpty());
    EXPECT_TRUE(read_back(path) == picture);

    BmpStreamWriter writer(dir.filePath("formats.bmp"), 13, 20);
    ASSERT_EQ(writer.open(), QString());
    ASSERT_TRUE(
        writer.write_band(0, picture.copy(0, 0, 13, 5).convertToFormat(QImage::Format_RGB888))
            .isEmpty());
    ASSERT_TRUE(
        writer.write_band(5, picture.copy(0, 5, 13, 5).convertToFormat(QImage::Format_ARGB32))
            .isEmpty());
    ASSERT_TRUE(writer
                    .write_band(10, picture.copy(0, 10, 13, 10)
                                        .convertToFormat(QImage::Format_ARGB32_Premultiplied))
                    .isEmpty());
    ASSERT_EQ(writer.finish().toStdString(), "");
    EXPECT_TRUE(read_back(dir.filePath("formats.bmp")) == picture);
}

TEST(BmpStreamWriter, RowsGivenAsStoredBytesMaySharePixelsAndBytes) {
    QTemporaryDir dir;
    for (const int width : {1, 2, 3, 4, 5, 37}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        // Each row shows a row of a narrower source, every column twice:
        // rows 0-2 show source row 0, rows 3-5 source row 1, and so on.
        const QImage source = random_picture((width + 1) / 2, 5, quint32(width) + 40);
        std::vector<int> columns;
        QImage expected(width, 14, QImage::Format_RGB32);
        for (int x = 0; x < width; ++x)
            columns.push_back(x / 2);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < width; ++x)
                expected.setPixel(x, y, source.pixel(x / 2, y / 3));

        const qint64 stride = BmpStreamWriter::row_stride(width);
        std::vector<uchar> stored(size_t(stride) * 5);
        for (int row = 0; row < 5; ++row)
            BmpStreamWriter::store_row(reinterpret_cast<const QRgb*>(source.constScanLine(row)),
                                       columns.data(), width, stored.data() + row * stride);
        const auto rows_from = [&](int top, int count) {
            std::vector<const uchar*> rows;
            for (int y = top; y < top + count; ++y)
                rows.push_back(stored.data() + (y / 3) * stride);
            return rows;
        };

        const QString path = dir.filePath(QString("shared%1.bmp").arg(width));
        BmpStreamWriter writer(path, width, 14);
        ASSERT_EQ(writer.open(), QString());
        // Bands in any order, and bands of pixels among them.
        ASSERT_EQ(writer.write_stored_rows(9, rows_from(9, 5)), QString());
        ASSERT_EQ(writer.write_band(4, expected.copy(0, 4, width, 5)), QString());
        ASSERT_EQ(writer.write_stored_rows(0, rows_from(0, 4)), QString());
        ASSERT_EQ(writer.finish().toStdString(), "");
        EXPECT_TRUE(read_back(path) == expected);
    }

    // A row fills exactly its stride: blue, green, red, zero padding, and not a
    // byte past it, also where no padding is needed.
    const QRgb pixels[] = {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9), qRgb(10, 11, 12)};
    for (const int width : {1, 3, 4}) {
        QByteArray row(20, char(0xAB));
        BmpStreamWriter::store_row(pixels, nullptr, width, reinterpret_cast<uchar*>(row.data()));
        const QByteArray bgr = QByteArray("\x03\x02\x01\x06\x05\x04\x09\x08\x07\x0c\x0b\x0a", 12);
        const int stride = int(BmpStreamWriter::row_stride(width));
        EXPECT_EQ(row.left(3 * width), bgr.left(3 * width)) << width;
        EXPECT_EQ(row.mid(3 * width, stride - 3 * width), QByteArray(stride - 3 * width, '\0'));
        EXPECT_EQ(row.mid(stride), QByteArray(20 - stride, char(0xAB))) << width;
    }
}

TEST(BmpStreamWriter, ABitmapLargerThanWhatIsKeptCachedIsWrittenWhole) {
    // 48 MB: more than the writer keeps cached, so early bands are synced and
    // dropped from the cache while later ones are written.
    const int width = 4000, height = 4000;
    const qint64 stride = BmpStreamWriter::row_stride(width);
    std::vector<std::vector<uchar>> distinct(7, std::vector<uchar>(size_t(stride)));
    for (size_t i = 0; i < distinct.size(); ++i)
        for (qint64 b = 0; b < stride; ++b)
            distinct[i][size_t(b)] = uchar((b * 7 + qint64(i) * 31) % 251);
    const auto row_bytes = [&](int y) { return distinct[size_t(y % 7)].data(); };

    QTemporaryDir dir;
    const QString path = dir.filePath("large.bmp");
    BmpStreamWriter writer(path, width, height);
    ASSERT_EQ(writer.open(), QString());
    for (int top = 0; top < height; top += 100) {
        std::vector<const uchar*> rows;
        for (int y = top; y < top + 100; ++y)
            rows.push_back(row_bytes(y));
        ASSERT_EQ(writer.write_stored_rows(top, rows).toStdString(), "");
    }
    ASSERT_EQ(writer.finish().toStdString(), "");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_EQ(file.size(), BmpStreamWriter::file_size(width, height));
    ASSERT_TRUE(file.seek(BmpStreamWriter::header_size));
    for (int y = height - 1; y >= 0; --y) { // bottom-up
        const QByteArray stored = file.read(stride);
        ASSERT_EQ(stored, QByteArray(reinterpret_cast<const char*>(row_bytes(y)), stride))
            << "row " << y;
    }
}

TEST(BmpStreamWriter, TheHeadersDescribeAnUncompressedBottomUpBitmap) {
    QTemporaryDir dir;
    const QString path = dir.filePath("five.bmp");
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(0, 0, qRgb(200, 100, 50)); // top-left
    ASSERT_TRUE(write_in_bands(path, picture, {2, 1}).isEmpty());

    const QByteArray bytes = contents(path);
    const int stride = 16; // 5 * 3 = 15 bytes, padded to 16
    ASSERT_EQ(bytes.size(), 54 + stride * 3);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(u32_at(bytes, 2), quint32(bytes.size())); // bfSize
    EXPECT_EQ(u32_at(bytes, 6), 0u);                    // reserved
    EXPECT_EQ(u32_at(bytes, 10), 54u);                  // bfOffBits
    EXPECT_EQ(u32_at(bytes, 14), 40u);                  // biSize
    EXPECT_EQ(i32_at(bytes, 18), 5);                    // biWidth
    EXPECT_EQ(i32_at(bytes, 22), 3);                    // biHeight > 0: bottom-up
    EXPECT_EQ(u16_at(bytes, 26), 1);                    // biPlanes
    EXPECT_EQ(u16_at(bytes, 28), 24);                   // biBitCount
    EXPECT_EQ(u32_at(bytes, 30), 0u);                   // BI_RGB
    EXPECT_EQ(u32_at(bytes, 34), quint32(stride * 3));  // biSizeImage
    EXPECT_EQ(i32_at(bytes, 38), 2835);                 // 72 dpi
    EXPECT_EQ(i32_at(bytes, 42), 2835);
    EXPECT_EQ(u32_at(bytes, 46), 0u); // no palette
    EXPECT_EQ(u32_at(bytes, 50), 0u);

    // The top-left pixel is the first of the last stored row, blue first.
    const int last_row = 54 + 2 * stride;
    EXPECT_EQ(bytes.mid(last_row, 3), QByteArray("\x32\x64\xc8", 3));
    EXPECT_EQ(bytes.mid(54, 3), QByteArray("\x1e\x14\x0a", 3));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(bytes.at(54 + row * stride + 15), '\0') << "padding";
}

TEST(BmpStreamWriter, AnIndependentReaderSeesTheSamePicture) {
    if (!pil_available())
        GTEST_SKIP() << "needs /usr/bin/python3 with PIL (Debian package python3-pil)";

    QTemporaryDir dir;
    const QString path = dir.filePath("probe.bmp");
    const QImage picture = random_picture(7, 11, 7);
    ASSERT_TRUE(write_in_bands(path, picture, {4, 4, 3}).isEmpty());

    const QList<QPoint> points = {{0, 0}, {6, 0}, {0, 10}, {6, 10}, {3, 5}};
    QString expected = "BMP RGB 7 11\n";
    for (const QPoint p : points)
        expected += pil_pixel_line(picture.pixel(p));
    EXPECT_EQ(pil_describe(path, points).toStdString(), expected.toStdString());
}

TEST(BmpStreamWriter, BitmapsPastFourGigabytesAreRefusedBeforeAnythingIsWritten) {
    // A 24-megapixel photo at 510%: 1.87 GB, fine.
    EXPECT_EQ(BmpStreamWriter::refuse_reason(30600, 20400), QString());
    EXPECT_EQ(BmpStreamWriter::file_size(30600, 20400), 54 + 91800LL * 20400);

    const QString too_big = BmpStreamWriter::refuse_reason(40000, 40000);
    EXPECT_TRUE(too_big.contains("4.5 GB")) << too_big.toStdString();
    EXPECT_TRUE(too_big.contains("4 GB a BMP file can hold")) << too_big.toStdString();

    // The limit is the 32-bit file size, to the byte: one pixel wide rows take 4 bytes.
    const qint64 tallest = (0xFFFFFFFFLL - 54) / 4;
    EXPECT_EQ(BmpStreamWriter::refuse_reason(1, tallest), QString());
    EXPECT_NE(BmpStreamWriter::refuse_reason(1, tallest + 1), QString());
    // Sizes whose byte count overflows 64 bits, and empty ones.
    EXPECT_NE(BmpStreamWriter::refuse_reason(qint64(1) << 40, qint64(1) << 40), QString());
    EXPECT_NE(BmpStreamWriter::refuse_reason(0, 10), QString());
    EXPECT_NE(BmpStreamWriter::refuse_reason(10, -1), QString());

    QTemporaryDir dir;
    const QString path = dir.filePath("huge.bmp");
    BmpStreamWriter writer(path, 40000, 40000);
    const QString why = writer.open();
    EXPECT_TRUE(why.contains(path)) << why.toStdString();
    EXPECT_TRUE(why.contains("4 GB")) << why.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(BmpStreamWriter, AFailedWriteLeavesTheExistingFileIntactAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.bmp");
    put(path, "the earlier picture");
    const QImage picture = random_picture(300, 300, 3);

    {
        // The disk cannot hold the 270 KB bitmap: refused at once, not after rendering.
        FileSizeLimit limit(64 * 1024);
        const QString error = write_in_bands(path, picture, {100, 100, 100});
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(error.contains("File too large")) << error.toStdString();
    }
    EXPECT_EQ(contents(path), "the earlier picture");

    // Rows missing at the end: nothing is committed.
    {
        BmpStreamWriter writer(path, 300, 300);
        ASSERT_EQ(writer.open(), QString());
        ASSERT_EQ(writer.write_band(0, picture.copy(0, 0, 300, 200)), QString());
        ASSERT_TRUE(writer.write_band(100, picture.copy(0, 100, 300, 150)).isEmpty()); // overlaps
        const QString why = writer.finish();
        EXPECT_TRUE(why.contains("only 250 of its 300 rows")) << why.toStdString();
    }
    EXPECT_EQ(contents(path), "the earlier picture");

    // Stored rows past the bottom are refused like a band of pixels.
    {
        BmpStreamWriter writer(path, 300, 300);
        ASSERT_EQ(writer.open(), QString());
        const std::vector<uchar> row(size_t(BmpStreamWriter::row_stride(300)));
        const std::vector<const uchar*> rows(2, row.data());
        const QString why = writer.write_stored_rows(299, rows);
        EXPECT_TRUE(why.contains("300 x 2 pixels at row 299 does not fit")) << why.toStdString();
        BmpStreamWriter unopened(path, 300, 300);
        const QString unopened_why = unopened.write_stored_rows(0, rows);
        EXPECT_TRUE(unopened_why.contains("before the file was opened"))
            << unopened_why.toStdString();
    }
    EXPECT_EQ(contents(path), "the earlier picture");

    // A band that does not fit is refused, and the first failure is the one reported.
    {
        BmpStreamWriter writer(path, 300, 300);
        ASSERT_EQ(writer.open(), QString());
        const QString first = writer.write_band(250, picture.copy(0, 0, 300, 100));
        EXPECT_TRUE(first.contains("does not fit")) << first.toStdString();
        EXPECT_NE(writer.write_band(0, picture.copy(0, 0, 299, 300)), QString());
        EXPECT_NE(writer.write_band(0, QImage()), QString());
        const std::vector<uchar> row(size_t(BmpStreamWriter::row_stride(300)));
        EXPECT_NE(writer.write_stored_rows(0, std::vector<const uchar*>(300, row.data())),
                  QString());
        EXPECT_EQ(writer.finish(), first);
    }
    EXPECT_EQ(contents(path), "the earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"shot.bmp"});
}
