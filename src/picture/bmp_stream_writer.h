// SPDX-License-Identifier: MIT
#pragma once
// Writes an uncompressed 24-bit Windows bitmap without ever holding the whole
// picture: the caller hands over bands of rows and each band goes straight to
// its place in the file. A picture shown at 510% can be far larger than
// memory; only one band at a time has to exist.
//
// Bands may come in any order (each is written at its own offset), as long as
// every row has been written when finish() is called. The file is stored
// bottom-up, the layout every reader understands, rows padded to 4 bytes,
// 2835 pixels per metre (72 dpi). It goes through AtomicFile: an existing file
// is replaced only when the new one is complete.

#include "picture/picture_file_writer.h"
#include "platform/atomic_file.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <deque>
#include <span>
#include <utility>
#include <vector>

class BmpStreamWriter final : public PictureFileWriter {
  public:
    static constexpr qint64 header_size = 14 + 40; // BITMAPFILEHEADER + BITMAPINFOHEADER

    BmpStreamWriter(QString target, qint64 width, qint64 height);

    // Why a width x height bitmap cannot be written (its sizes go in 32-bit
    // header fields, so the file must stay below 4 GiB), or "" when it can.
    // Ask before rendering anything.
    static QString refuse_reason(qint64 width, qint64 height);
    // Bytes one stored row takes, padding included.
    static qint64 row_stride(qint64 width);
    static qint64 file_size(qint64 width, qint64 height);
    // A row as stored, row_stride(width) bytes at `out`: blue, green, red, then
    // zeros. Pixel x is pixels[columns[x]], or pixels[x] without a table;
    // alpha is dropped.
    static void store_row(const QRgb* pixels, const int* columns, qint64 width, uchar* out);

    // Each step returns what failed, on which file, and why; empty when it
    // did what was asked. After a failure every later step fails with that
    // first reason.
    //
    // Creates the temporary file, claims its disk space and writes the headers.
    QString open() override;
    // Writes the rows top .. top + band.height() - 1 (top row = 0). The band is
    // `width` pixels wide, in any QImage format; alpha is dropped.
    QString write_band(qint64 top, const QImage& band) override;
    // Writes the rows top .. top + rows.size() - 1, each given as its bytes as
    // stored (store_row). At a zoom several rows show the same picture row:
    // they may all point at the same bytes, which are then made only once.
    QString write_stored_rows(qint64 top, std::span<const uchar* const> rows) override;
    // Checks that every row was written, then replaces the target.
    QString finish() override;

  private:
    QString fail(const QString& reason);
    void store_rows(const QImage& rgb, QByteArray& out) const;
    QString check_rows(qint64 top, qint64 rows, qint64 width);
    QString write_rows_at(qint64 top, qint64 rows, std::span<const QByteArrayView> stored);
    QString write_behind(qint64 offset, qint64 size);
    void mark_written(qint64 top, qint64 rows);

    AtomicFile file_;
    qint64 width_;
    qint64 height_;
    qint64 stride_;
    bool opened_ = false;
    QString error_;
    std::vector<bool> written_;
    qint64 rows_written_ = 0;
    QByteArray band_bytes_;                 // reused from band to band
    std::vector<QByteArrayView> row_views_; // likewise
    // Written byte ranges (offset, size) still on their way to the disk.
    std::deque<std::pair<qint64, qint64>> in_flight_;
    qint64 in_flight_bytes_ = 0;
};
