#include "platform/picture_io.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString save(const QImage& image, const QString& name, const char* format = nullptr,
                 int quality = -1) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format, quality));
        return path;
    }
    QTemporaryDir dir;
};

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 3 & 255, y * 5 & 255, 128));
    return image;
}

TEST_F(PictureFiles, BmpAndJpegOpenAtTheirSizeAsRgb32) {
    const QImage source = pattern(37, 21);
    const LoadedPicture bmp = load_picture(save(source, "a.bmp"));
    ASSERT_TRUE(bmp.ok()) << bmp.error.toStdString();
    EXPECT_EQ(bmp.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(bmp.image, source);
    const LoadedPicture jpg = load_picture(save(source, "UPPER.JPG", "JPG", 95));
    ASSERT_TRUE(jpg.ok()) << jpg.error.toStdString();
    EXPECT_EQ(jpg.image.size(), QSize(37, 21));
    EXPECT_EQ(jpg.image.format(), QImage::Format_RGB32);
}

TEST_F(PictureFiles, OtherCommonFormatsOpenToo) {
    const QImage source = pattern(16, 9);
    for (const char* name : {"p.png", "p.tif", "p.webp"}) {
        const LoadedPicture loaded = load_picture(save(source, QString::fromLatin1(name)));
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error.toStdString();
        EXPECT_EQ(loaded.image.size(), QSize(16, 9)) << name;
    }
}

TEST_F(PictureFiles, UnreadableFilesSayWhichFileAndWhy) {
    const QString text = write("notes.jpg", "this is not a picture at all");
    LoadedPicture loaded = load_picture(text);
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.image.isNull());
    EXPECT_TRUE(loaded.error.contains(text)) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QLatin1String("not a picture"))) << loaded.error.toStdString();

    loaded = load_picture(dir.filePath("missing.bmp"));
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.error.contains(QLatin1String("not found"))) << loaded.error.toStdString();

    loaded = load_picture(write("empty.bmp", QByteArray()));
    EXPECT_FALSE(loaded.ok());
}

TEST_F(PictureFiles, TruncatedPicturesAreRefusedNotShownHalfGrey) {
    for (const char* format : {"JPG", "BMP"}) {
        const QString whole = save(pattern(200, 150), QStringLiteral("whole.") + format, format, 90);
        QFile file(whole);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString cut = write(QStringLiteral("cut.") + format, bytes.left(bytes.size() / 2));
        const LoadedPicture loaded = load_picture(cut);
        EXPECT_FALSE(loaded.ok()) << format;
        EXPECT_TRUE(loaded.error.contains(cut)) << loaded.error.toStdString();
    }
}

TEST_F(PictureFiles, AbsurdDimensionsAreRefusedBeforeDecoding) {
    // A real JPEG whose frame header is patched to claim 30000 x 30000 pixels
    // (3.6 GB decoded): refused from its header, with the reason.
    const QString small = save(pattern(16, 16), "small.jpg", "JPG", 90);
    QFile file(small);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    for (int field : {5, 7}) {
        bytes[sof + field] = char(30000 >> 8);
        bytes[sof + field + 1] = char(30000 & 0xFF);
    }
    const LoadedPicture loaded = load_picture(write("huge.jpg", bytes));
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.error.contains(QLatin1String("too large"))) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QLatin1String("30000 x 30000"))) << loaded.error.toStdString();
}

TEST_F(PictureFiles, ScaledLoadGivesExactlyTheAskedSize) {
    const QString jpg = save(pattern(333, 201), "s.jpg", "JPG", 90);
    for (QSize shown : {QSize(167, 101), QSize(34, 21), QSize(300, 181), QSize(1, 1)}) {
        const LoadedPicture loaded = load_picture_scaled(jpg, shown);
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.image.size(), shown);
        EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32);
    }
}

TEST_F(PictureFiles, SizeIsKnownWithoutDecoding) {
    QString error;
    EXPECT_EQ(read_picture_size(save(pattern(64, 48), "z.bmp"), &error), QSize(64, 48));
    EXPECT_FALSE(read_picture_size(write("bad.bmp", "xx"), &error).isValid());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
