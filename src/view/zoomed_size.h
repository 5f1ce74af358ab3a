// SPDX-License-Identifier: MIT
#pragma once
// The size of the picture area for a picture shown at a zoom percentage.

#include <QSize>

// `picture` shown at `percent`: each side is percent x side / 100, rounded to
// the nearest whole pixel with halves to the even neighbour (333 pixels at
// 110% give 366, 335 at 50% give 168), and never below 1 pixel. The product
// is taken before the division so that exact halves stay exact. Sides beyond
// the 32-bit range saturate there.
QSize zoomed_size(QSize picture, double percent);
