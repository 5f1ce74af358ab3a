// SPDX-License-Identifier: MIT
#pragma once
// Shrinking an uncompressed bitmap as its rows are read: the file is read a
// band of rows at a time, top row first whichever way the rows are stored,
// and each band is shrunk as it comes (ShrinkPipe), so the full-size
// picture is never held. Only the kinds whose pixels are plain bytes are
// read this way: 24 and 32 bits a pixel, no compression, no colour masks.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

struct BmpBands {
    bool handled = false; // false: a kind of bitmap read otherwise, nothing done
    QImage image;         // the picture shrunk to the size asked
    QString error;        // why it could not be read, when handled
};

// Reads the bitmap `path` shrunk to `to` (no larger than the picture either
// way), into the memory of `memory` when that is large enough.
BmpBands shrink_bmp_rows(const QString& path, QSize to, QImage memory);

// Reads `region` of the bitmap `path` alone: only its rows, and of each only
// its columns (a preview: nothing is checked past the region).
BmpBands read_bmp_region(const QString& path, QRect region);
