// SPDX-License-Identifier: MIT
#pragma once
// The part of a large photo the viewport shows, on screen while the rest of
// the file is still being decoded. It lies over the picture area and changes
// nothing under it: withdrawing it leaves the window exactly as it was, which
// is what happens when the whole file then proves damaged.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

struct ViewRoom;
class QWidget;

// The part of a picture of `full` size that the viewport will show once it
// is opened at `percent` (the scroll bars fitted as the open fits them).
struct EarlyPart {
    QRect region;    // in picture pixels; empty below 100%, where nothing is shown early
    QPoint scrolled; // the first shown pixel in the viewport
    QSize full, shown;
};
EarlyPart early_part(const ViewRoom& room, QSize full, double percent);

// Shows the part's region of the picture over the picture area at once, from
// `pixels` where their `source` rectangle holds it (the whole of a region
// decoded alone; the worker's rows as it makes them, shared, not copied);
// they stay until the widget returned is deleted.
std::unique_ptr<QWidget> show_early_part(const ViewRoom& room, const EarlyPart& part, QImage pixels,
                                         QRect source);

// Decodes the part's region from `path` alone and shows it. Null when the
// file gives no such part: a picture other than a JPEG stored upright or an
// uncompressed BMP, or one damaged within it (the whole decoding says why).
std::unique_ptr<QWidget> show_early_screenful(const ViewRoom& room, const QString& path,
                                              const EarlyPart& part);
