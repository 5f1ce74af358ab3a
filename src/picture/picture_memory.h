// SPDX-License-Identifier: MIT
#pragma once
// Memory for decoded pictures that becomes resident as the decoder reaches
// it, not ahead: a file that claims a huge size and ends early costs no more
// than the rows it really filled.

#include "picture/worker_thread.h"

#include <QImage>
#include <QSize>

// A 32-bit RGB picture of `size` in memory mapped for it alone, on huge pages
// where the system has them, none of it resident yet. A null image when the
// memory cannot be had or the picture is small (the caller then allocates
// normally).
QImage unpopulated_rgb32(QSize size);

// Makes rows [first, first + count) of `image` resident in one call, before
// the decoder writes them: a 24-megapixel photo otherwise costs some 24,000
// page faults, a third of the time of decoding it on a virtual machine.
// A hint only; page faults still work without it.
void make_rows_present(QImage& image, int first, int count);

// Makes `length` bytes from `begin` resident, none past `end`; the same hint
// for memory written through a pointer (on another thread, say).
void make_bytes_present(uchar* begin, size_t length, const uchar* end);

// A 32-bit RGB picture of `size`: in the memory of `memory` when that is a
// 32-bit picture of at least as many bytes held by nobody else (its rows
// packed at the start, the pages past them handed back to the system at
// once), else as unpopulated_rgb32. `memory` is emptied either way.
QImage reuse_rgb32(QSize size, QImage& memory);

// Tells the system the pixels of `image`, held by nobody else, are no longer
// wanted while the memory is kept for the next picture: it may take the pages
// back should it run short, and until it does they are written again without
// a page fault or the zeroing of fresh ones.
void mark_pixels_unwanted(QImage& image);

// Makes the rows of a picture resident on a thread of its own, a band at a
// time, while the decoder fills the rows above: the system's zeroing of
// fresh pages overlaps the decoding instead of holding it up. It never goes
// more than two bands past the row the decoder says it has reached, so a
// file that ends early still costs only the rows its data filled.
class RowsAhead {
  public:
    RowsAhead(QImage& image, int band_rows);
    ~RowsAhead();          // stops and waits for the thread
    void reached(int row); // the decoder has filled the rows above `row`

  private:
    void work();

    uchar* bits_;
    qsizetype line_;
    int rows_, band_rows_;
    int reached_ = 0; // shared with the thread
    WorkerThread thread_;
};
