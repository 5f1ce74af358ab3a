// SPDX-License-Identifier: MIT
#pragma once
// Shrinking a picture while its rows are still being decoded: each band of
// rows is reduced to the output rows it completes as it arrives, so the
// full-size picture is never held, only a band of it. The pixels are those of
// downscale_in_place (the same area average, bit for bit).

#include "picture/worker_thread.h"

#include <QImage>
#include <QSize>

#include <memory>
#include <vector>

// Source rows, top to bottom, shrunk into a picture of the output size.
class ShrinkStream {
  public:
    // `into` is 32-bit, no larger than `from` either way; its rows are
    // written as they are completed.
    ShrinkStream(QSize from, QImage& into);
    ~ShrinkStream();
    // The next `count` source rows of `from.width()` 32-bit pixels, `line`
    // bytes apart.
    void add(const uchar* rows, qsizetype line, int count);
    // Every output row has been written.
    bool complete() const;

    struct Rows; // the work itself, for the sums' width

  private:
    std::unique_ptr<Rows> rows_;
};

// A ShrinkStream on a thread of its own, so that the shrinking of a band
// overlaps the decoding of the next: the caller fills one band while the
// other is shrunk. Small pictures are shrunk on the caller's thread.
class ShrinkPipe {
  public:
    ShrinkPipe(QSize from, QImage& into, int band_rows);
    ~ShrinkPipe(); // waits for the band being shrunk

    // The band to fill next: band_rows() rows of band_line() bytes.
    uchar* band();
    qsizetype band_line() const { return line_; }
    int band_rows() const { return band_rows_; }
    // The band from band() holds `rows` rows: shrink them.
    void hand_over(int rows);
    // Waits until every band handed over is shrunk; true when the whole
    // output picture is written.
    bool finish();

  private:
    void work();

    ShrinkStream stream_;
    const qsizetype line_;
    const int band_rows_;
    std::vector<uint32_t> bands_[2];
    int filling_ = 0;
    int queued_rows_[2] = {0, 0}; // rows waiting in each band, 0 when free; shared with the thread
    WorkerThread worker_;
};
