#include "platform/picture_io.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Red grows to the right, green downwards: a picture without sharp edges.
QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) * 255 / (w + h)));
    return image;
}

// The largest difference of a colour channel between two pictures of one size.
int worst_difference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// A smooth picture decoded at a DCT scale and resampled looks like the whole
// picture resampled: no shift, no colour change, nothing lost at the edges.
TEST_F(PictureFiles, ScaledJpegMatchesTheWholePictureScaledDown) {
    const QString jpg = save(gradient(640, 480), "smooth.jpg", "JPG", 95);
    const LoadedPicture whole = load_picture(jpg);
    ASSERT_TRUE(whole.ok());
    for (QSize shown : {QSize(320, 240), QSize(192, 144), QSize(64, 48), QSize(577, 432)}) {
        const LoadedPicture scaled = load_picture_scaled(jpg, shown);
        ASSERT_TRUE(scaled.ok()) << scaled.error.toStdString();
        ASSERT_EQ(scaled.image.size(), shown);
        const QImage reference =
            whole.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LE(worst_difference(scaled.image, reference), 8)
            << shown.width() << " x " << shown.height();
    }
}

TEST_F(PictureFiles, ScaledBmpKeepsItsColours) {
    QImage blue(300, 200, QImage::Format_RGB32);
    blue.fill(qRgb(10, 20, 230));
    const LoadedPicture scaled = load_picture_scaled(save(blue, "blue.bmp"), QSize(33, 22));
    ASSERT_TRUE(scaled.ok()) << scaled.error.toStdString();
    EXPECT_EQ(scaled.image.size(), QSize(33, 22));
    EXPECT_EQ(scaled.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(scaled.image.pixel(0, 0), qRgb(10, 20, 230));
    EXPECT_EQ(scaled.image.pixel(32, 21), qRgb(10, 20, 230));
}

// Rings round (30, 20) in red, stripes 4 pixels wide in blue: shrunk more
// one way than the other and stretched back, the stripes fade to grey, which
// a gradient would not show.
QImage rings(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int level = std::min(255, int(std::hypot(x - 30, y - 20) * 3));
            image.setPixel(x, y, qRgb(level, y * 255 / (h - 1), (x / 4) % 2 ? 255 : 0));
        }
    return image;
}

// A phone photo stored sideways with an EXIF orientation: the shown size is
// the upright one, at full size and scaled alike.
TEST_F(PictureFiles, SidewaysPhotosShowUprightWhenScaled) {
    const QString plain = save(rings(160, 80), "plain.jpg", "JPG", 95);
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // APP1 "Exif": a little-endian TIFF header and one entry, orientation 6
    // (turn 90 degrees clockwise to show).
    const QByteArray tiff("II*\0\x08\0\0\0"
                          "\x01\0"
                          "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                          "\0\0\0\0",
                          26);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xFF)).append(exif);
    const QString turned = write("turned.jpg", bytes.left(2) + app1 + bytes.mid(2));

    QString error;
    EXPECT_EQ(read_picture_size(turned, &error), QSize(80, 160)) << error.toStdString();
    const LoadedPicture whole = load_picture(turned);
    ASSERT_TRUE(whole.ok()) << whole.error.toStdString();
    EXPECT_EQ(whole.image.size(), QSize(80, 160));
    const LoadedPicture half = load_picture_scaled(turned, QSize(40, 80));
    ASSERT_TRUE(half.ok()) << half.error.toStdString();
    EXPECT_EQ(half.image.size(), QSize(40, 80));
    // Scaled as stored, then turned: the stripes, 4 pixels wide across the
    // stored picture, run 2 pixels wide down the shown one, as sharp as the
    // whole picture scaled down; not shrunk to a quarter and grown back.
    const QImage reference =
        whole.image.scaled(40, 80, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const auto stripe_contrast = [](const QImage& image) {
        int sum = 0;
        for (int y = 20; y < 60; ++y)
            sum += std::abs(qBlue(image.pixel(20, y)) - qBlue(image.pixel(20, y + 2)));
        return sum / 40;
    };
    EXPECT_GE(stripe_contrast(half.image), stripe_contrast(reference) * 3 / 4);
    EXPECT_LT(qGreen(half.image.pixel(39, 0)), 40); // stored top-left: no green yet
    EXPECT_GT(qGreen(half.image.pixel(0, 0)), 215); // stored bottom-left
}

// The JPEG `bytes` with an EXIF orientation (1 to 8) put in front.
QByteArray with_orientation(const QByteArray& bytes, int orientation) {
    QByteArray tiff("II*\0\x08\0\0\0"
                    "\x01\0"
                    "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                    "\0\0\0\0",
                    26);
    tiff[18] = char(orientation);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xFF)).append(exif);
    return bytes.left(2) + app1 + bytes.mid(2);
}

// Every EXIF orientation, on a photo whose sides do not divide by 8: the
// shrunk picture is the whole one turned upright and shrunk, whichever way
// it was stored and whatever DCT scale it was decoded at.
TEST_F(PictureFiles, EveryStoredOrientationShowsUprightWhenScaled) {
    QFile file(save(gradient(203, 117), "odd.jpg", "JPG", 95));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString path = write(QStringLiteral("o%1.jpg").arg(orientation),
                                   with_orientation(bytes, orientation));
        const LoadedPicture whole = load_picture(path);
        ASSERT_TRUE(whole.ok()) << whole.error.toStdString();
        for (const double zoom : {0.9, 0.62, 0.3, 0.1}) {
            const QSize shown(int(whole.image.width() * zoom), int(whole.image.height() * zoom));
            const LoadedPicture scaled = load_picture_scaled(path, shown);
            ASSERT_TRUE(scaled.ok()) << scaled.error.toStdString();
            ASSERT_EQ(scaled.image.size(), shown) << "orientation " << orientation;
            EXPECT_EQ(scaled.image.format(), QImage::Format_RGB32);
            const QImage reference =
                whole.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_LE(worst_difference(scaled.image, reference), 8)
                << "orientation " << orientation << " at " << zoom;
        }
    }
}

TEST_F(PictureFiles, AHeaderWithoutASizeIsNoPicture) {
    const QString fake = write("fake.bmp", "BM and then nothing a picture needs");
    QString error;
    EXPECT_FALSE(read_picture_size(fake, &error).isValid());
    EXPECT_TRUE(error.contains(fake)) << error.toStdString();
    const LoadedPicture scaled = load_picture_scaled(fake, QSize(10, 10));
    EXPECT_FALSE(scaled.ok());
    EXPECT_TRUE(scaled.error.contains(fake)) << scaled.error.toStdString();
}

} // namespace
