// SPDX-License-Identifier: MIT
#pragma once
// What the thread that waits on a decoding on another thread sees of it: how
// many rows are done, the rows themselves while they are made, and a way to
// stop it when its picture is no longer wanted (another picture was opened
// meanwhile).

#include <QImage>
#include <atomic>
#include <mutex>

struct DecodeWatch {
    std::atomic<bool> stop{false}; // set by the waiting thread: give up at the next band
    std::atomic<int> rows{0};      // rows decoded so far (stored with release)...
    std::atomic<int> of_rows{0};   // ...of so many, once the decoder knows

    // The picture being decoded at full size (a JPEG's), shared while it is
    // made: its rows above `rows` are final and may be read. Null before and
    // after. Shared, so it outlives a decoding that fails while it is read.
    void show_rows(QImage image) {
        const std::lock_guard lock(mutex_);
        image_ = std::move(image);
    }
    QImage rows_so_far() {
        const std::lock_guard lock(mutex_);
        return image_;
    }

  private:
    std::mutex mutex_;
    QImage image_;
};
