// SPDX-License-Identifier: MIT
#include "output/picture_bands.h"

#include "picture/area_shrink.h"
#include "picture/bmp_stream_writer.h"
#include "picture/nearest_enlarge.h"
#include "picture/picture_file_writer.h"
#include "widgets/line_object.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A band of the widest canvas (30600 pixels at 510%) then holds 34 rows, 3 MB
// as stored in the file; only a band composed whole (rows under the marks, or
// a picture that needs painting) also takes its 4 MB of 32-bit pixels.
// Larger bands only cost memory: they are not measurably faster.
constexpr qint64 band_budget_bytes = 4 << 20;
constexpr int most_band_rows = 256;

// The canvas rows of `band` taken from a picture held at its shown size.
// Where the picture does not cover the area, the area's background shows,
// as it does on screen.
void copy_shown_rows(const ShownPicture& view, int top, QImage& band) {
    const QRect rows(0, top, band.width(), band.height());
    const QImage& picture = view.picture;
    const bool covers = picture.rect().contains(rows);
    if (covers && picture.format() == QImage::Format_RGB32) {
        const size_t row_bytes = size_t(band.width()) * sizeof(QRgb);
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(band.scanLine(y), picture.constScanLine(top + y), row_bytes);
        return;
    }
    band.fill(view.background);
    const QRect source = rows & picture.rect();
    if (source.isEmpty()) return;
    QPainter painter(&band);
    painter.drawImage(QPoint(source.x(), source.y() - top), picture, source);
}

// Without antialiasing every pixel of the text is the export colour, and a
// glyph split between two bands is the same glyph in both.
QFont caption_font(const ExportMarks& marks) {
    QFont font = marks.font;
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Canvas rows first .. last (clamped to the canvas) may carry marks.
void mark_rows(double first, double last, std::vector<bool>& marked) {
    const double height = double(marked.size());
    if (!std::isfinite(first) || !std::isfinite(last)) {
        // Where such a line lands is the painter's business: paint every row.
        marked.assign(marked.size(), true);
        return;
    }
    const auto begin = size_t(std::clamp(std::floor(first), 0.0, height));
    const auto end = size_t(std::clamp(std::ceil(last) + 1.0, 0.0, height));
    std::fill(marked.begin() + qsizetype(begin), marked.begin() + qsizetype(std::max(begin, end)),
              true);
}

// The canvas rows the marks may paint, with rows to spare around each: an
// aliased line may land a pixel off its coordinates, and a glyph may reach
// past the line height. Every other row shows the picture alone.
std::vector<bool> rows_under_marks(const ExportMarks& marks, int height) {
    std::vector<bool> marked(size_t(std::max(height, 0)), false);
    for (const QLineF& line : marks.lines)
        mark_rows(std::min(line.y1(), line.y2()) - 2, std::max(line.y1(), line.y2()) + 2, marked);
    if (!marks.caption.isEmpty()) {
        // The metrics the painter of a bitmap uses, as draw_export_marks asks for them.
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        painter.setFont(caption_font(marks));
        const QFontMetrics metrics = painter.fontMetrics();
        const double top = marks.caption_at.y();
        const double baseline = top + metrics.ascent();
        const QRect glyphs = metrics.boundingRect(marks.caption);
        const double spare = metrics.height();
        mark_rows(std::min(top, baseline + glyphs.top()) - spare,
                  std::max(top + metrics.height(), baseline + glyphs.bottom()) + spare, marked);
    }
    return marked;
}

QString write_failure(const QString& path, const QString& why) {
    return QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), why);
}

// The shown picture's rows, where no mark is, straight into the file's row
// format: each picture row a zoom repeats is gathered once, and every canvas
// row that shows it is written from the same bytes. Rows under the marks are
// composed as compose_band composes them, then stored.
class StoredBands {
  public:
    StoredBands(const ShownPicture& view, const ExportMarks& marks, const QString& path)
        : view_(view), marks_(marks), path_(path),
          marked_(rows_under_marks(marks, view.shown.height())), width_(view.shown.width()),
          stride_(BmpStreamWriter::row_stride(width_)) {
        if (view.magnified) columns_ = source_columns(width_, view.picture.width());
    }

    // Whether the shown picture can be read this way; otherwise compose_band does it all.
    static bool suit(const ShownPicture& view) {
        if (view.shrunk) return false;
        if (view.magnified) return !view.picture.isNull() && !view.shown.isEmpty();
        // At or below 100% the area holds the picture at its shown size; one
        // it does not cover shows the background, which painting brings in.
        return view.picture.format() == QImage::Format_RGB32 &&
               view.picture.rect().contains(QRect(QPoint(0, 0), view.shown));
    }

    // Writes canvas rows top .. top + rows - 1; returns what memory was
    // missing or what the writer could not do, empty when they were written.
    QString write(PictureFileWriter& writer, int top, int rows) {
        const Rgb32Rows picture = picture_rows(top, rows);
        if (picture.pixels.isNull()) return out_of_memory(rows);
        // At most one stored row per canvas row.
        const size_t needed = size_t(rows) * size_t(stride_);
        if (slots_.size() < needed) slots_.resize(needed);
        rows_.resize(size_t(rows));
        uchar* next_slot = slots_.data();
        int gathered = -1; // the picture row last stored, while its bytes can still be shared
        const uchar* gathered_bytes = nullptr;
        for (int y = top; y < top + rows;) {
            if (marked_[size_t(y)]) {
                int end = y + 1;
                while (end < top + rows && marked_[size_t(end)])
                    ++end;
                if (!store_composed(y, end - y, next_slot)) return out_of_memory(end - y);
                for (; y < end; ++y, next_slot += stride_)
                    rows_[size_t(y - top)] = next_slot;
                gathered = -1;
                continue;
            }
            const int row = picture_row(y);
            if (row != gathered) {
                BmpStreamWriter::store_row(picture.row(row),
                                           columns_.empty() ? nullptr : columns_.data(), width_,
                                           next_slot);
                gathered = row;
                gathered_bytes = next_slot;
                next_slot += stride_;
            }
            rows_[size_t(y - top)] = gathered_bytes;
            ++y;
        }
        return writer.write_stored_rows(top, rows_);
    }

  private:
    int picture_row(int y) const {
        return view_.magnified ? source_index(y, view_.shown.height(), view_.picture.height()) : y;
    }

    Rgb32Rows picture_rows(int top, int rows) const {
        if (!view_.magnified) return {view_.picture, 0};
        return rgb32_rows(view_.picture, picture_row(top), picture_row(top + rows - 1));
    }

    // Rows under the marks: picture and marks painted as compose_band does, then stored.
    bool store_composed(int top, int rows, uchar* out) {
        if (composed_.height() != rows) composed_ = QImage(width_, rows, QImage::Format_RGB32);
        if (composed_.isNull()) return false;
        compose_band(view_, marks_, top, composed_);
        for (int y = 0; y < rows; ++y, out += stride_)
            BmpStreamWriter::store_row(reinterpret_cast<const QRgb*>(composed_.constScanLine(y)),
                                       nullptr, width_, out);
        return true;
    }

    QString out_of_memory(int rows) const {
        return write_failure(
            path_, QStringLiteral("not enough memory for %1 x %2 pixels").arg(width_).arg(rows));
    }

    const ShownPicture& view_;
    const ExportMarks& marks_;
    const QString& path_;
    const std::vector<bool> marked_;
    const int width_;
    const qint64 stride_;
    std::vector<int> columns_; // empty: the picture's own columns
    std::vector<uchar> slots_; // the stored rows of a band, reused from band to band
    std::vector<const uchar*> rows_;
    QImage composed_;
};

} // namespace

void draw_export_marks(QPainter& painter, const ExportMarks& marks) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (!marks.caption.isEmpty()) {
        painter.setFont(caption_font(marks));
        painter.setPen(marks.colour);
        // Printed with the top of its line at the given point, as a label shows it.
        const int ascent = painter.fontMetrics().ascent();
        painter.drawText(QPoint(marks.caption_at.x(), marks.caption_at.y() + ascent),
                         marks.caption);
    }
    // Width 0: the 1-pixel cosmetic pen the picture area draws its lines with,
    // covering the pixels it covers.
    painter.setPen(QPen(marks.colour, 0));
    for (const QLineF& line : marks.lines)
        draw_line_pixels(painter, line);
}

void compose_band(const ShownPicture& view, const ExportMarks& marks, int top, QImage& band) {
    if (view.shrunk) {
        // The shrink the picture area paints with, so the file shows what the screen shows.
        if (view.picture.depth() == 32)
            AreaShrink(view.picture.size(), view.shown)
                .shrink(view.picture, QRect(0, top, band.width(), band.height()), band.bits(),
                        band.bytesPerLine());
        else
            band.fill(view.background);
    } else if (view.magnified) {
        // The mapping the picture area paints with, so the file shows what the screen shows.
        const QRect rows(0, top, band.width(), band.height());
        if (!enlarge_region_into(view.picture, view.shown, rows, band.bits(), band.bytesPerLine()))
            band.fill(view.background);
    } else {
        copy_shown_rows(view, top, band);
    }
    QPainter painter(&band);
    painter.translate(0, -top);
    draw_export_marks(painter, marks);
}

int band_rows_for(int width) {
    const qint64 rows = band_budget_bytes / (qint64(std::max(width, 1)) * qint64(sizeof(QRgb)));
    return int(std::clamp<qint64>(rows, 1, most_band_rows));
}

QString write_exported_picture(const ShownPicture& view, const ExportMarks& marks,
                               const QString& path, int band_rows, const ExportProgress& progress) {
    const int width = view.shown.width();
    const int height = view.shown.height();
    // open() refuses a picture the file's kind cannot hold before it creates anything.
    const std::unique_ptr<PictureFileWriter> file = make_picture_file_writer(path, width, height);
    PictureFileWriter& writer = *file;
    if (const QString why = writer.open(); !why.isEmpty()) return why;

    const int rows_per_band = band_rows > 0 ? band_rows : band_rows_for(width);
    if (StoredBands::suit(view)) {
        StoredBands bands(view, marks, path);
        for (int top = 0; top < height; top += rows_per_band) {
            const QString why = bands.write(writer, top, std::min(rows_per_band, height - top));
            if (!why.isEmpty()) return why;
            if (progress) progress(top + std::min(rows_per_band, height - top), height);
        }
        return writer.finish();
    }

    QImage band;
    for (int top = 0; top < height; top += rows_per_band) {
        const int rows = std::min(rows_per_band, height - top);
        if (band.height() != rows) band = QImage(width, rows, QImage::Format_RGB32);
        if (band.isNull())
            return write_failure(
                path, QStringLiteral("not enough memory for %1 x %2 pixels").arg(width).arg(rows));
        compose_band(view, marks, top, band);
        if (const QString why = writer.write_band(top, band); !why.isEmpty()) return why;
        if (progress) progress(top + rows, height);
    }
    return writer.finish();
}
