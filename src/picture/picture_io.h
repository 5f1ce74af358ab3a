// SPDX-License-Identifier: MIT
#pragma once
// Reading pictures: the one place that decodes picture files. BMP and JPEG
// are the program's own formats; PNG, GIF, TIFF and WebP open too. EXIF
// orientation is applied, so a phone photo shows upright. Pictures are held
// as 32-bit RGB.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

struct DecodeWatch;

struct LoadedPicture {
    QImage image;
    QString error; // why it could not be read; empty on success
    bool ok() const { return error.isEmpty(); }
};

// The whole picture at its own size, decoded into the memory of `memory` when
// it has the picture's size and 32-bit format (a picture of the same file
// shown before a zoom step has): no fresh allocation for the system to zero,
// nothing to give back. `memory` must not be shared with another QImage, and
// its pixels are lost whether the decoding succeeds or not.
// With `watch` (a decoding on another thread), a JPEG's rows are counted there
// and a stop asked there ends it with an error.
LoadedPicture load_picture_reusing(const QString& path, QImage memory = QImage(),
                                   DecodeWatch* watch = nullptr);

// The picture scaled to exactly `shown` (smaller than the picture). JPEG is
// decoded at the DCT scale just at or above the target, so libjpeg does most
// of the shrinking while decoding; the rest is done in the decoded picture's
// own memory, so the result costs no more than that decoded picture.
// An uncompressed bitmap is shrunk band by band as it is read, without
// holding it whole. A JPEG or bitmap is made in the memory of `memory` when
// that is large enough.
LoadedPicture load_picture_scaled(const QString& path, QSize shown, QImage memory = QImage(),
                                  DecodeWatch* watch = nullptr);

// `region` of a JPEG stored upright or of an uncompressed 24- or 32-bit BMP,
// at full size, decoded alone (a preview while the whole is decoded: nothing
// is checked past it). A null image, without an error, for any other picture.
LoadedPicture load_picture_region(const QString& path, QRect region);

// The picture's size as shown (after EXIF orientation), without decoding it;
// an invalid size and the reason when the file cannot be read as a picture.
struct PictureSize {
    QSize size;
    QString error; // why it could not be read; empty on success
};
PictureSize read_picture_size(const QString& path);

// True when `path` is a JPEG stored upright: its decoding at full size makes
// the rows as shown, top first (DecodeWatch::rows_so_far).
bool jpeg_stored_upright(const QString& path);
