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
#include <QString>

struct JpegPicture {
    QImage image; // 32-bit RGB, as stored (EXIF orientation not applied)
    QString error;
};

// Decodes `path` at `eighths`/8 of its stored size (1 to 8, sides rounded
// up), into the memory of `memory` when that is 32-bit RGB and large enough. With
// `shrink_to` smaller than that, the rows are shrunk to it by area average as
// they are decoded (on a second thread for large pictures), and only bands of
// the decoded picture are ever held.
//
// With `also` (and no `shrink_to`), the whole picture is kept and a copy shrunk
// to also->size is made from its rows by area average as they are decoded, on
// a second thread, into also->image (its memory reused when large enough).
struct JpegAlsoShrunk {
    QSize size;
    QImage image;
};
JpegPicture decode_jpeg(const QString& path, int eighths, QImage memory, QSize shrink_to = QSize(),
                        JpegAlsoShrunk* also = nullptr);
