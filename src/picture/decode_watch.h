// SPDX-License-Identifier: MIT
#pragma once
// What the thread that waits on a decoding on another thread sees of it: how
// many rows are done, and a way to stop it when its picture is no longer
// wanted (another picture was opened meanwhile).

#include <atomic>

struct DecodeWatch {
    std::atomic<bool> stop{false}; // set by the waiting thread: give up at the next band
    std::atomic<int> rows{0};      // rows decoded so far...
    std::atomic<int> of_rows{0};   // ...of so many, once the decoder knows
};
