// SPDX-License-Identifier: MIT
#pragma once
// What the compressed kinds (PNG, JPEG) share: their encoders take rows top
// to bottom and give bytes that only ever append to the file. This keeps the
// order, the first failure, and the file: the encoded bytes are gathered into
// a buffer of a few hundred kilobytes, appended, and handed to the disk behind
// the work, the oldest leaving the cache once on the disk, as the bitmap's
// bands do.

#include "picture/picture_file_writer.h"
#include "platform/atomic_file.h"

#include <QByteArray>

#include <deque>
#include <utility>
#include <vector>

class SequentialStreamWriter : public PictureFileWriter {
  public:
    SequentialStreamWriter(QString target, qint64 width, qint64 height);

    QString open() final;
    QString write_band(qint64 top, const QImage& band) final;
    QString write_stored_rows(qint64 top, std::span<const uchar* const> rows) final;
    QString finish() final;

  protected:
    // The encoder's steps, each returning why it failed. refuse_reason: why
    // the kind cannot hold a picture of these sizes ("" when it can); start:
    // before the first row; encode: the next rows, top to bottom; end: after
    // the last row.
    virtual QString refuse_reason() const = 0;
    virtual QString start() = 0;
    virtual QString encode(std::span<const uchar* const> rows) = 0;
    virtual QString end() = 0;

    // Where the encoder's bytes go; a failure to write them is kept and
    // returned by the step that made them (sink_error).
    void put_bytes(const char* data, qint64 size);
    const QString& sink_error() const { return sink_error_; }

    const qint64 width_;
    const qint64 height_;

  private:
    QString fail(const QString& reason);
    QString flush_buffer();

    AtomicFile file_;
    bool opened_ = false;
    QString error_;
    QString sink_error_;
    qint64 next_row_ = 0;
    QByteArray buffer_;
    qint64 file_end_ = 0;
    std::deque<std::pair<qint64, qint64>> in_flight_;
    qint64 in_flight_bytes_ = 0;
    std::vector<uchar> band_rows_; // write_band's rows as stored, reused
    std::vector<const uchar*> row_pointers_;
};
