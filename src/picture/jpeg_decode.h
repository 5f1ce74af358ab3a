// SPDX-License-Identifier: MIT
#pragma once
// JPEG decoding straight through libjpeg: at a DCT scale M/8, into 32-bit
// RGB, and with an account of how much of the picture the file's data really
// covered.
//
// libjpeg reports only its first warning, and fills the rows its data does
// not reach with grey; a damaged file whose first warning is harmless (stray
// bytes between markers) would open as a grey picture of whatever size its
// header claims. Here every warning is seen: the moment the compressed data
// runs out before the last row, decoding stops, and the picture is refused
// with the number of rows its data covered. Rows are made resident just ahead
// of the decoder, so a file that stops early costs only the rows it filled.
// Stray bytes and other warnings that leave every row covered are harmless.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

struct DecodeWatch;

struct JpegPicture {
    QImage image; // 32-bit RGB, as stored (EXIF orientation not applied)
    QString error;
};

// Decodes `path` at `eighths`/8 of its stored size (1 to 8, sides rounded
// up), into the memory of `memory` when that is 32-bit RGB and large enough. With
// `shrink_to` smaller than that, the rows are shrunk to it by area average as
// they are decoded (on a second thread for large pictures), and only bands of
// the decoded picture are ever held.
// With `watch`, the rows decoded are counted there, and a stop asked there
// ends the decoding with the error `decoding_stopped`.
JpegPicture decode_jpeg(const QString& path, int eighths, QImage memory, QSize shrink_to = QSize(),
                        DecodeWatch* watch = nullptr);

// `region` of the picture as stored, at full size: only the rows and columns
// it covers are decoded (libjpeg skips the blocks left of it, only reads past
// the rows above it, and stops after its last row), so a screenful of a large
// photo shows in a fraction of the time the whole takes. Nothing here checks
// that the rest of the file holds the rest of the picture: this is a preview,
// never the picture opened. A null image, without an error, for a progressive
// or CMYK file, which give no rows before all their data is read.
JpegPicture decode_jpeg_region(const QString& path, QRect region);

extern const char* const decoding_stopped;
