// SPDX-License-Identifier: MIT
#pragma once
// What a picture file's header claims, read by the program itself where Qt's
// readers report it wrongly or not at all, with every product of header
// fields checked for overflow:
//
// - BMP: top-down bitmaps (negative height) have the positive height; an
//   uncompressed bitmap must hold all its rows, a run-length coded one must
//   reach its last row.
// - JPEG: the frame's size, even past what libjpeg accepts, so that an absurd
//   size is reported as too large.
// - GIF: the logical screen, which is what the decoder produces when it is
//   larger than the first frame.
// - Binary PBM, PGM, PPM: the file must hold all the samples.

#include <QByteArray>
#include <QSize>
#include <QString>

struct PictureHeader {
    QSize size;            // the size the decoder will produce; invalid when not known here
    QString refusal;       // why the data cannot hold the picture; empty when it can
    bool complete = false; // the file holds every byte of its picture uncompressed
};

// `format` as QImageReader names it ("bmp", "jpeg", "gif", "pgm" ...).
PictureHeader read_picture_header(const QString& path, const QByteArray& format);
