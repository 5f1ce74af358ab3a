// SPDX-License-Identifier: MIT
#pragma once
// The exported bitmap is the picture as the picture area shows it, with the
// scale bar drawn over it. At 510% that picture can be gigabytes, so it is
// never built whole: it is rendered a band of rows at a time, each band with
// the marks that cross it, and every band goes straight into the file.
//
// Most rows show the picture alone: those are stored straight from the
// picture, each picture row once however often the zoom repeats it. The rows
// the marks may reach are composed as the whole canvas would be and clipped
// to those rows (the painter moved up by their top, lines aliased and 1 pixel
// wide, text printed without antialiasing), so composed and stored rows meet
// without a seam. That holds for upright and level lines, as the scale bar
// has; a slanting line clipped to a band may step a pixel off its course.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

// What the picture area shows, as it holds it.
struct ShownPicture {
    QImage picture;         // the shown picture, or the one magnified or shrunk to `shown`
    bool magnified = false; // the picture is stretched to `shown`, nearest-neighbour
    QSize shown;            // the size of the picture area: the bitmap's size
    QColor background;      // wherever the picture does not cover the area
    bool shrunk = false;    // the picture is shrunk to `shown`, by area average
};

// What is drawn over the picture: the caption is printed first, the lines
// are drawn over it, all in one colour.
struct ExportMarks {
    QString caption;   // printed when not empty
    QPoint caption_at; // top-left corner of the printed text
    QFont font;        // sized in pixels, so the bitmap's resolution does not matter
    std::vector<QLineF> lines;
    QColor colour;
};

// Prints the caption and draws the lines, in canvas coordinates.
void draw_export_marks(QPainter& painter, const ExportMarks& marks);

// Fills `band` (Format_RGB32, the canvas's width) with the canvas rows from
// `top` on: the shown picture, then the marks that cross those rows.
void compose_band(const ShownPicture& view, const ExportMarks& marks, int top, QImage& band);

// Rows per band for a canvas `width` pixels wide: up to 256, fewer for wide
// canvases so that a band stays within a few megabytes (34 rows at 30600).
int band_rows_for(int width);

// Told after each band: rows done of the rows in all.
using ExportProgress = std::function<void(qint64 done, qint64 total)>;

// Writes the canvas to `path`, `band_rows` rows at a time (0: band_rows_for),
// as the kind its extension names (picture/picture_file_writer.h): a 24-bit
// bitmap, a PNG or a JPEG. An existing file is replaced only by a complete
// new one. Returns "" on success, otherwise what failed, on which file, and
// why; a picture past what its kind holds (a bitmap's 4 GB, a JPEG's 65,500
// pixels a side) is refused before anything is written.
QString write_exported_picture(const ShownPicture& view, const ExportMarks& marks,
                               const QString& path, int band_rows = 0,
                               const ExportProgress& progress = {});
