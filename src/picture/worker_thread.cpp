// SPDX-License-Identifier: MIT
#include "picture/worker_thread.h"

#include <atomic>
#include <memory>
#include <pthread.h>
#include <sched.h>

std::thread thread_beside(std::function<void()> body) {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const bool known = ::pthread_getaffinity_np(::pthread_self(), sizeof allowed, &allowed) == 0;
    auto placed = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([placed, allowed, known, body = std::move(body)] {
        // Placed by the starter at once; then free to run anywhere it may.
        while (!placed->load(std::memory_order_acquire))
            std::this_thread::yield();
        if (known) (void)::pthread_setaffinity_np(::pthread_self(), sizeof allowed, &allowed);
        body();
    });
    cpu_set_t beside = allowed;
    const int here = ::sched_getcpu();
    if (known && here >= 0 && here < CPU_SETSIZE) CPU_CLR(here, &beside);
    if (known && CPU_COUNT(&beside) > 0)
        (void)::pthread_setaffinity_np(thread.native_handle(), sizeof beside, &beside);
    placed->store(true, std::memory_order_release);
    return thread;
}

void WorkerThread::start(std::function<void()> body) {
    stop();
    stopping_ = false;
    thread_ = thread_beside(std::move(body));
}

void WorkerThread::stop() {
    if (!thread_.joinable()) return;
    post([this] { stopping_ = true; });
    thread_.join();
}
