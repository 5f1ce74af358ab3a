// SPDX-License-Identifier: MIT
#pragma once
// A picture decoded on a worker thread while the window goes on: the whole
// file behind an open, or the next picture of the folder ahead of the user.
// The file's identity is taken before decoding, so a file changed meanwhile
// differs from it when the picture is used, and is read again then.

#include "picture/decode_watch.h"
#include "platform/file_identity.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <atomic>
#include <thread>

struct DecodedPicture {
    QImage full;  // the full-size picture, null when too large to keep at the zoom asked
    QImage shown; // at the size asked, when that is not the full size and was made
    FileIdentity file;
    QString error; // why the file could not be read; empty on success
};

class PictureDecoding {
  public:
    // Starts decoding `path` (whose picture is `full` large, as its header
    // says) to show at `percent`. A decoding in the `background` (the next
    // picture, ahead) runs at a lower priority than the window's own work, so
    // a zoom step meanwhile is not slowed by it. The picture is decoded into
    // `memory` when that is large enough and held by nothing else.
    PictureDecoding(QString path, QSize full, double percent, QImage memory,
                    bool background = false);
    // Asks the decoding to stop and waits for the worker: no thread outlives it.
    ~PictureDecoding();
    PictureDecoding(const PictureDecoding&) = delete;
    PictureDecoding& operator=(const PictureDecoding&) = delete;

    const QString& path() const { return path_; }
    QSize full_size() const { return full_; }
    double percent() const { return percent_; }
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Rows decoded so far, of rows_in_all() (0 until the decoder knows it).
    int rows() const { return watch_.rows.load(std::memory_order_relaxed); }
    int rows_in_all() const { return watch_.of_rows.load(std::memory_order_relaxed); }
    // The picture as far as the worker has decoded it, shared, once its rows
    // cover `region` (a JPEG stored upright, decoded at full size, makes its
    // rows top first and shows them while it works); null before, and for
    // other pictures. Only the rows covered may be read: the worker writes
    // those below.
    QImage rows_covering(QRect region);
    // The picture, once finished(); taken once.
    DecodedPicture take();
    // Asks the worker to give up at its next band of rows (a JPEG's; other
    // pictures are decoded to their end). finished() tells when it has.
    void stop() { watch_.stop.store(true, std::memory_order_relaxed); }

  private:
    void decode();

    QString path_;
    QSize full_;
    double percent_;
    bool background_;
    QImage memory_; // handed to the worker
    DecodeWatch watch_;
    DecodedPicture result_;
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

// Shows a decoded picture in the picture area at `percent`, as show_picture_at
// would have from the file, and keeps its full-size picture. False when the
// decoding gave nothing to show at that zoom (the file must be read for it).
// The full-size picture shown before becomes the window's spare memory once
// nothing shows it.
struct ViewRoom;
bool show_decoded_picture(const ViewRoom& room, DecodedPicture& decoded, double percent);
