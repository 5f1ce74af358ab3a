// SPDX-License-Identifier: MIT
#pragma once
// The exported picture's file, whatever its kind, written without ever
// holding the whole picture: the caller hands over bands of rows and each goes
// on to the file. Every kind writes through AtomicFile, so an existing file is
// replaced only when the new one is complete.
//
// Rows are handed over either as a QImage band or as stored rows: blue,
// green, red for each pixel (BmpStreamWriter::store_row), so that a row made
// once serves every kind and every canvas row that repeats it. A bitmap takes
// its bands in any order; the compressed kinds need them top to bottom.
//
// Each step returns what failed, on which file, and why; empty when it did
// what was asked. After a failure every later step fails with that first
// reason.

#include "platform/file_dialogs.h"

#include <QImage>
#include <QString>

#include <memory>
#include <span>

class PictureFileWriter {
  public:
    virtual ~PictureFileWriter() = default;
    // Creates the temporary file and writes what comes before the rows. A
    // picture the kind cannot hold is refused here, before anything is made.
    virtual QString open() = 0;
    // The rows top .. top + band.height() - 1 (top row = 0), in any QImage
    // format; alpha is dropped.
    virtual QString write_band(qint64 top, const QImage& band) = 0;
    // The rows top .. top + rows.size() - 1, each as stored; several may
    // point at the same bytes.
    virtual QString write_stored_rows(qint64 top, std::span<const uchar* const> rows) = 0;
    // Checks that every row was written, then replaces the target.
    virtual QString finish() = 0;
};

enum class PictureFileKind { bmp, png, jpeg };

using PictureFileType = SaveFileType<PictureFileKind>;
inline constexpr PictureFileType picture_file_types[] = {
    {PictureFileKind::bmp, ".bmp", "*.bmp"},
    {PictureFileKind::png, ".png", "PNG picture (*.png)"},
    {PictureFileKind::jpeg, ".jpg", "JPEG picture (*.jpg)"},
};

// The kind the name `path` asks for by its extension, in any case (.jpeg is
// a JPEG too); a bitmap for any other name.
PictureFileKind picture_file_kind(const QString& path);
// The writer of a width x height picture of that kind into `path`.
std::unique_ptr<PictureFileWriter> make_picture_file_writer(const QString& path, qint64 width,
                                                            qint64 height);
