// SPDX-License-Identifier: MIT
// A thread started beside its starter is steered only at its start: by the
// time it works it may run wherever its starter may, and so may the threads
// it starts in turn.
#include "picture/worker_thread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

TEST(ThreadBeside, WorksFreeOfTheProcessorItStartedBeside) {
    cpu_set_t starter;
    ASSERT_EQ(::pthread_getaffinity_np(::pthread_self(), sizeof starter, &starter), 0);
    for (int i = 0; i < 20; ++i) { // the starter's steering races with the start
        std::atomic<bool> returned{false};
        cpu_set_t seen;
        CPU_ZERO(&seen);
        std::thread thread = thread_beside([&] {
            while (!returned.load())
                std::this_thread::yield();
            ::pthread_getaffinity_np(::pthread_self(), sizeof seen, &seen);
        });
        returned.store(true);
        thread.join();
        EXPECT_TRUE(CPU_EQUAL(&seen, &starter)) << "start " << i;
    }
}
