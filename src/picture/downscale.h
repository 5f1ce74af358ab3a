// SPDX-License-Identifier: MIT
#pragma once
// Shrinking a picture in its own memory, so that a zoom step below 100% holds
// one picture, not the decoded one and a scaled copy beside it.

#include <QImage>
#include <QSize>

// Shrinks `image` (32 bits a pixel) to exactly `to`, no larger than it in
// either direction, by area averaging: each pixel of the result is the mean of
// the pixels it covers, each weighted by the part of it covered (in whole
// 16ths of the result's pixel or finer where the sides share no large factor:
// area_average.h), rounded to the nearest value (halves up), channel by
// channel. The result lives in the memory the picture had, rows packed
// together; the pages past it go back to the system at once, and the rest is
// kept until the result is let go. Other formats, or a size that is not
// smaller, are scaled by Qt into new memory instead. Large pictures are
// shrunk by two threads.
void downscale_in_place(QImage& image, QSize to);

// `picture` (32 bits a pixel) shrunk to exactly `to` by the same area average
// as downscale_in_place, pixel for pixel, into new memory: the memory of
// `memory` when it is a 32-bit picture large enough and held by nobody else.
// `picture` itself is left as it is, so a kept full-size picture gives every
// smaller zoom. Large pictures are shrunk by two threads.
QImage downscaled_copy(const QImage& picture, QSize to, QImage memory = QImage());
