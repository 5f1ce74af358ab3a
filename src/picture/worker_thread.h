// SPDX-License-Identifier: MIT
#pragma once
// A thread of its own that works while another feeds it: the state they share
// is guarded by one mutex, every change to it wakes whoever waits for it, and
// the thread is asked to stop and joined when its owner goes. Written once for
// every such pair (rows made resident ahead of a decoder, bands shrunk while
// the next is decoded).

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Starts `body` on a new thread that begins on another processor than the
// calling thread's, when there is another, and may then run on any. Linux
// queues a new thread behind its starter on the starter's processor: on the
// two-processor machines measured it ran only once the starter slept, 2 to 3
// ms late (the decoder of an open waited for the open's own work, the rows
// made resident ahead of a decoder for the decoder). Only the start is
// steered. Every thread the program starts to work beside another starts so.
std::thread thread_beside(std::function<void()> body);

class WorkerThread {
  public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { stop(); }

    // Runs `body` on the thread; it waits for its work with wait_until.
    void start(std::function<void()> body);
    bool running() const { return thread_.joinable(); }
    // Asks the thread to stop (every wait_until gives false from now on) and
    // waits for it to end. Nothing when it is not running.
    void stop();

    // Changes the shared state under the lock, then wakes every waiter.
    template <class Change> void post(Change change) {
        {
            const std::lock_guard lock(mutex_);
            change();
        }
        changed_.notify_all();
    }
    // On either side: sleeps until `ready()` (called under the lock, so it
    // may read the shared state and copy what it needs) holds. False, at
    // once, when the thread is asked to stop.
    template <class Ready> bool wait_until(Ready ready) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || ready(); });
        return !stopping_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::thread thread_;
};
