// SPDX-License-Identifier: MIT
#include "picture/picture_io.h"

#include "picture/downscale.h"
#include "picture/jpeg_decode.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
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
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 3 & 255, y * 5 & 255, 128));
    return image;
}

TEST_F(PictureFiles, BmpAndJpegOpenAtTheirSizeAsRgb32) {
    const QImage source = pattern(37, 21);
    const LoadedPicture bmp = load_picture_reusing(save(source, "a.bmp"));
    ASSERT_TRUE(bmp.ok()) << bmp.error.toStdString();
    EXPECT_EQ(bmp.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(bmp.image, source);
    const LoadedPicture jpg = load_picture_reusing(save(source, "UPPER.JPG", "JPG", 95));
    ASSERT_TRUE(jpg.ok()) << jpg.error.toStdString();
    EXPECT_EQ(jpg.image.size(), QSize(37, 21));
    EXPECT_EQ(jpg.image.format(), QImage::Format_RGB32);
}

TEST_F(PictureFiles, OtherCommonFormatsOpenToo) {
    const QImage source = pattern(16, 9);
    for (const char* name : {"p.png", "p.tif", "p.webp"}) {
        const LoadedPicture loaded = load_picture_reusing(save(source, QString::fromLatin1(name)));
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error.toStdString();
        EXPECT_EQ(loaded.image.size(), QSize(16, 9)) << name;
    }
}

TEST_F(PictureFiles, UnreadableFilesSayWhichFileAndWhy) {
    const QString text = write("notes.jpg", "this is not a picture at all");
    LoadedPicture loaded = load_picture_reusing(text);
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.image.isNull());
    EXPECT_TRUE(loaded.error.contains(text)) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QLatin1String("not a picture")))
        << loaded.error.toStdString();

    loaded = load_picture_reusing(dir.filePath("missing.bmp"));
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.error.contains(QLatin1String("not found"))) << loaded.error.toStdString();

    loaded = load_picture_reusing(write("empty.bmp", QByteArray()));
    EXPECT_FALSE(loaded.ok());
}

TEST_F(PictureFiles, TruncatedPicturesAreRefusedNotShownHalfGrey) {
    for (const char* format : {"JPG", "BMP"}) {
        const QString whole =
            save(pattern(200, 150), QStringLiteral("whole.") + format, format, 90);
        QFile file(whole);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString cut = write(QStringLiteral("cut.") + format, bytes.left(bytes.size() / 2));
        const LoadedPicture loaded = load_picture_reusing(cut);
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
    const LoadedPicture loaded = load_picture_reusing(write("huge.jpg", bytes));
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.error.contains(QLatin1String("too large"))) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QLatin1String("30000 x 30000")))
        << loaded.error.toStdString();
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

// Shrinking rows as they are decoded gives the pixels of the whole picture
// decoded at the DCT scale and then shrunk: zooms above, at and below a
// scale, and a side that rounds differently.
TEST_F(PictureFiles, JpegShrunkWhileDecodingEqualsTheWholeDecodeShrunk) {
    const QString jpg = save(pattern(1203, 901), "p.jpg", "JPG", 90);
    for (const auto& [shown, eighths] : {std::pair{QSize(1083, 811), 8},
                                         {QSize(962, 721), 7},
                                         {QSize(361, 270), 3},
                                         {QSize(120, 90), 1}}) {
        QImage expected = decode_jpeg(jpg, eighths, QImage()).image;
        downscale_in_place(expected, shown);
        const LoadedPicture loaded = load_picture_scaled(jpg, shown);
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.image == expected) << shown.width() << " wide";
    }
}

TEST_F(PictureFiles, SizeIsKnownWithoutDecoding) {
    EXPECT_EQ(read_picture_size(save(pattern(64, 48), "z.bmp")).size, QSize(64, 48));
    const PictureSize bad = read_picture_size(write("bad.bmp", "xx"));
    EXPECT_FALSE(bad.size.isValid());
    EXPECT_FALSE(bad.error.isEmpty());
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
    const LoadedPicture whole = load_picture_reusing(jpg);
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

    const PictureSize stated = read_picture_size(turned);
    EXPECT_EQ(stated.size, QSize(80, 160)) << stated.error.toStdString();
    const LoadedPicture whole = load_picture_reusing(turned);
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
        const QString path =
            write(QStringLiteral("o%1.jpg").arg(orientation), with_orientation(bytes, orientation));
        const LoadedPicture whole = load_picture_reusing(path);
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
    const auto [size, error] = read_picture_size(fake);
    EXPECT_FALSE(size.isValid());
    EXPECT_TRUE(error.contains(fake)) << error.toStdString();
    const LoadedPicture scaled = load_picture_scaled(fake, QSize(10, 10));
    EXPECT_FALSE(scaled.ok());
    EXPECT_TRUE(scaled.error.contains(fake)) << scaled.error.toStdString();
}

// ---- Hostile files, each a few bytes made here ----

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i)));
    return out;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// A 16 x 16 JPEG whose frame claims `width` x `height`.
QByteArray jpeg_claiming(int width, int height) {
    QByteArray bytes = encoded(pattern(16, 16), "JPG");
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    qToBigEndian(quint16(height), bytes.data() + sof + 5);
    qToBigEndian(quint16(width), bytes.data() + sof + 7);
    return bytes;
}

// Stray bytes before the Huffman tables: libjpeg's first, harmless warning.
QByteArray with_stray_bytes(QByteArray jpeg) {
    return jpeg.insert(jpeg.indexOf(QByteArray("\xFF\xC4", 2)), "\x00\x13\x37", 3);
}

QByteArray bmp(qint32 width, qint32 height, int bits, int compression, const QByteArray& data) {
    const QByteArray palette = bits == 8 ? QByteArray(1024, '\x40') : QByteArray();
    const QByteArray info = le(40, 4) + le(quint32(width), 4) + le(quint32(height), 4) + le(1, 2) +
                            le(bits, 2) + le(compression, 4) + le(data.size(), 4) +
                            QByteArray(16, '\0');
    const int offset = 14 + info.size() + palette.size();
    return "BM" + le(offset + data.size(), 4) + le(0, 4) + le(offset, 4) + info + palette + data;
}

// A GIF whose logical screen is `screen` square and whose one frame is a
// single pixel.
QByteArray gif(int screen) {
    return "GIF89a" + le(screen, 2) + le(screen, 2) + QByteArray("\x80\0\0\0\0\0\xff\xff\xff", 9) +
           "\x2c" + le(0, 4) + le(1, 2) + le(1, 2) + QByteArray("\0\x02\x02\x44\x01\0\x3b", 7);
}

QByteArray tiff_claiming(quint32 side) {
    const quint32 entries[][2] = {{256, side},        {257, side}, {258, 8}, {259, 1},
                                  {262, 1},           {273, 134},  {277, 1}, {278, side},
                                  {279, side * side}, {284, 1}};
    QByteArray out = QByteArray("II*\0", 4) + le(8, 4) + le(10, 2);
    for (const auto& e : entries)
        out += le(e[0], 2) + le(e[1] > 0xFFFF || e[0] == 273 ? 4 : 3, 2) + le(1, 4) + le(e[1], 4);
    return out + le(0, 4) + "\x80\x80\x80\x80";
}

// What /proc says of this process's resident memory, in KiB.
qint64 resident_kib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toLongLong();
    return 0;
}

TEST_F(PictureFiles, TinyFilesClaimingHugePicturesAreRefusedInBoundedTimeAndMemory) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* why;
    } cases[] = {
        {"claims.pgm", QByteArray("P5\n12000 12000\n255\n").leftJustified(49, '\0'), "truncated"},
        {"claims.webp",
         "RIFF" + le(33, 4) + "WEBPVP8L" + le(21, 4) + "\x2f" + le(15999 | 15999 << 14, 4) +
             QByteArray(16, '\0'),
         ""},
        {"claims.tif", tiff_claiming(16000), ""},
        {"claims.jpg", jpeg_claiming(16000, 16000), "truncated or damaged"},
        {"grey-giant.jpg", with_stray_bytes(jpeg_claiming(31265, 4113)), "truncated or damaged"},
        {"rle8.bmp", bmp(12000, 12000, 8, 1, QByteArray("\0\x01", 2)), "fewer rows"},
        {"overflow.bmp", bmp(0x7FFFFFFF, 0x7FFFFFFF, 0xFFFF, 0, QByteArray()).left(34),
         "too large"},
        {"absurd.bmp", bmp(65535, 65535, 24, 0, QByteArray(64, '\0')), "too large"},
        {"absurd.jpg", jpeg_claiming(65535, 65535), "too large"},
        // 732 MB as stored, twice that while it is turned upright.
        {"turned.jpg", with_orientation(jpeg_claiming(16000, 12000), 6), "too large"},
    };
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    for (const auto& c : cases) {
        const QString file = write(QString::fromLatin1(c.name), c.bytes);
        const qint64 before = resident_kib("VmRSS:");
        if (clear.open(QIODevice::WriteOnly)) clear.write("5"), clear.close();
        QElapsedTimer timer;
        timer.start();
        const LoadedPicture loaded = load_picture_reusing(file);
        EXPECT_LT(timer.elapsed(), 500) << c.name;
        EXPECT_LT(resident_kib("VmHWM:") - before, 64 * 1024) << c.name;
        EXPECT_FALSE(loaded.ok()) << c.name;
        EXPECT_TRUE(loaded.error.contains(file) && loaded.error.contains(QLatin1String(c.why)))
            << loaded.error.toStdString();
    }
}

TEST_F(PictureFiles, OpenedAtTheSizeTheirPixelsHave) {
    // Top-down bitmaps: rows stored top to bottom, the height negative.
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_Indexed8}) {
        QImage source = pattern(120, 80).convertToFormat(format);
        const QByteArray bottom_up = encoded(source, "BMP");
        const quint32 offset = qFromLittleEndian<quint32>(bottom_up.constData() + 10);
        const qsizetype stride = (bottom_up.size() - offset) / 80;
        QByteArray top_down = bottom_up.left(offset);
        for (int row = 79; row >= 0; --row)
            top_down += bottom_up.mid(offset + row * stride, stride);
        qToLittleEndian(qint32(-80), top_down.data() + 22);
        const LoadedPicture loaded = load_picture_reusing(write("top-down.bmp", top_down));
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_EQ(loaded.image, source.convertToFormat(QImage::Format_RGB32));
    }
    // A GIF's screen larger than its frame: the screen is the picture.
    const QString screen = write("screen.gif", gif(64));
    const PictureSize stated = read_picture_size(screen);
    EXPECT_EQ(stated.size, QSize(64, 64)) << stated.error.toStdString();
    EXPECT_EQ(load_picture_reusing(screen).image.size(), QSize(64, 64));
    EXPECT_EQ(load_picture_scaled(screen, QSize(32, 32)).image.size(), QSize(32, 32));
    // A complete JPEG with stray bytes between its markers is no damage.
    const LoadedPicture stray =
        load_picture_reusing(write("stray.jpg", with_stray_bytes(encoded(pattern(64, 48), "JPG"))));
    EXPECT_TRUE(stray.ok()) << stray.error.toStdString();
    EXPECT_EQ(stray.image.size(), QSize(64, 48));
    // Transparent pixels flattened over white in the picture's own memory.
    QImage half(8, 8, QImage::Format_ARGB32);
    half.fill(qRgba(255, 0, 0, 128));
    const LoadedPicture flat = load_picture_reusing(save(half, "half.png"));
    ASSERT_TRUE(flat.ok());
    EXPECT_EQ(flat.image.format(), QImage::Format_RGB32);
    EXPECT_NEAR(qGreen(flat.image.pixel(3, 3)), 127, 1);
    EXPECT_EQ(qRed(flat.image.pixel(3, 3)), 255);
}

// A bitmap shrunk as its rows are read gives the pixels of the whole bitmap
// read and shrunk: 24 bits stored bottom up, 32 bits (the fourth byte
// unused) bottom up and top down.
TEST_F(PictureFiles, BitmapShrunkWhileReadEqualsTheWholeBitmapShrunk) {
    const QImage source = pattern(1203, 901);
    QByteArray up, down;
    for (int y = 0; y < source.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.pixel(x, y);
            const char bytes[4] = {char(qBlue(p)), char(qGreen(p)), char(qRed(p)), char(x)};
            row += QByteArray(bytes, 4);
        }
        down += row;
        up.prepend(row);
    }
    for (const QString& path : {save(source, "s.bmp"), write("up.bmp", bmp(1203, 901, 32, 0, up)),
                                write("down.bmp", bmp(1203, -901, 32, 0, down))}) {
        QImage expected = load_picture_reusing(path).image;
        downscale_in_place(expected, QSize(1083, 811));
        const LoadedPicture loaded = load_picture_scaled(path, QSize(1083, 811));
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.image == expected) << path.toStdString();
    }
}

} // namespace
