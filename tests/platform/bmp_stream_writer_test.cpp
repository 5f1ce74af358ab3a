#include "platform/bmp_stream_writer.h"

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
    if (!writer.open()) return writer.error();
    for (const auto& [band_top, h] : bands)
        if (!writer.write_band(band_top, picture.copy(0, band_top, picture.width(), h)))
            return writer.error();
    return writer.finish() ? QString() : writer.error();
}

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

QByteArray read_all(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
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

// Makes writes past `bytes` fail (EFBIG), standing in for a full disk; holds for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*old_handler_)(int) = nullptr;
};

const QString python = QStringLiteral("/usr/bin/python3");

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
        EXPECT_TRUE(same_pixels(QImage(path).convertToFormat(QImage::Format_RGB32), picture));
    }

    // Bands may come bottom first, and in formats other than RGB32.
    const QImage picture = random_picture(13, 20, 99);
    const QString path = dir.filePath("reversed.bmp");
    ASSERT_TRUE(write_in_bands(path, picture, {6, 6, 6, 2}, true).isEmpty());
    EXPECT_TRUE(same_pixels(QImage(path).convertToFormat(QImage::Format_RGB32), picture));

    BmpStreamWriter writer(dir.filePath("formats.bmp"), 13, 20);
    ASSERT_TRUE(writer.open());
    ASSERT_TRUE(
        writer.write_band(0, picture.copy(0, 0, 13, 5).convertToFormat(QImage::Format_RGB888)));
    ASSERT_TRUE(
        writer.write_band(5, picture.copy(0, 5, 13, 5).convertToFormat(QImage::Format_ARGB32)));
    ASSERT_TRUE(writer.write_band(
        10, picture.copy(0, 10, 13, 10).convertToFormat(QImage::Format_ARGB32_Premultiplied)));
    ASSERT_TRUE(writer.finish()) << writer.error().toStdString();
    EXPECT_TRUE(same_pixels(
        QImage(dir.filePath("formats.bmp")).convertToFormat(QImage::Format_RGB32), picture));
}

TEST(BmpStreamWriter, TheHeadersDescribeAnUncompressedBottomUpBitmap) {
    QTemporaryDir dir;
    const QString path = dir.filePath("five.bmp");
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(0, 0, qRgb(200, 100, 50)); // top-left
    ASSERT_TRUE(write_in_bands(path, picture, {2, 1}).isEmpty());

    const QByteArray bytes = read_all(path);
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
    QProcess probe;
    probe.start(python, {"-c", "import PIL"});
    if (!probe.waitForFinished() || probe.exitCode() != 0)
        GTEST_SKIP() << "needs /usr/bin/python3 with PIL (Debian package python3-pil)";

    QTemporaryDir dir;
    const QString path = dir.filePath("probe.bmp");
    const QImage picture = random_picture(7, 11, 7);
    ASSERT_TRUE(write_in_bands(path, picture, {4, 4, 3}).isEmpty());

    const char* script = "import sys\n"
                         "from PIL import Image\n"
                         "im = Image.open(sys.argv[1]); im.load()\n"
                         "print(im.format, im.mode, im.size[0], im.size[1])\n"
                         "for p in sys.argv[2:]:\n"
                         "    x, y = map(int, p.split(','))\n"
                         "    print(*im.getpixel((x, y))[:3])\n";
    const QList<QPoint> points = {{0, 0}, {6, 0}, {0, 10}, {6, 10}, {3, 5}};
    QStringList args = {"-c", script, path};
    QString expected = "BMP RGB 7 11\n";
    for (const QPoint p : points) {
        args << QString("%1,%2").arg(p.x()).arg(p.y());
        const QRgb c = picture.pixel(p);
        expected += QString("%1 %2 %3\n").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
    }
    QProcess reader;
    reader.start(python, args);
    ASSERT_TRUE(reader.waitForFinished());
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).toStdString(),
              expected.toStdString());
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
    EXPECT_FALSE(writer.open());
    EXPECT_TRUE(writer.error().contains(path)) << writer.error().toStdString();
    EXPECT_TRUE(writer.error().contains("4 GB")) << writer.error().toStdString();
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
    EXPECT_EQ(read_all(path), "the earlier picture");

    // Rows missing at the end: nothing is committed.
    {
        BmpStreamWriter writer(path, 300, 300);
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.write_band(0, picture.copy(0, 0, 300, 200)));
        ASSERT_TRUE(
            writer.write_band(100, picture.copy(0, 100, 300, 150))); // overlaps: counted once
        EXPECT_FALSE(writer.finish());
        EXPECT_TRUE(writer.error().contains("only 250 of its 300 rows"))
            << writer.error().toStdString();
    }
    EXPECT_EQ(read_all(path), "the earlier picture");

    // A band that does not fit is refused, and the first failure is the one reported.
    {
        BmpStreamWriter writer(path, 300, 300);
        ASSERT_TRUE(writer.open());
        EXPECT_FALSE(writer.write_band(250, picture.copy(0, 0, 300, 100)));
        const QString first = writer.error();
        EXPECT_TRUE(first.contains("does not fit")) << first.toStdString();
        EXPECT_FALSE(writer.write_band(0, picture.copy(0, 0, 299, 300)));
        EXPECT_FALSE(writer.write_band(0, QImage()));
        EXPECT_FALSE(writer.finish());
        EXPECT_EQ(writer.error(), first);
    }
    EXPECT_EQ(read_all(path), "the earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"shot.bmp"});
}
