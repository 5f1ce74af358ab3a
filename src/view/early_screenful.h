// SPDX-License-Identifier: MIT
#pragma once
// The part of a large photo the viewport shows, on screen while the rest of
// the file is still being decoded. It lies over the picture area and changes
// nothing under it: withdrawing it leaves the window exactly as it was, which
// is what happens when the whole file then proves damaged.

#include <QSize>
#include <QString>
#include <memory>

class F_main;
class QWidget;

// Decodes the rows and columns of `path` (whose picture is `full` large) that
// the viewport will show once it is opened at `percent`, and shows them at
// once; they stay until the widget returned is deleted. Null when there is no
// such early part: below 100%, a picture other than a JPEG stored upright or
// an uncompressed BMP, or one damaged within that part (the whole decoding
// then says why).
std::unique_ptr<QWidget> show_early_screenful(F_main& f, const QString& path, QSize full,
                                              double percent);
