// SPDX-License-Identifier: MIT
#include "picture/worker_thread.h"

void WorkerThread::start(std::function<void()> body) {
    stop();
    stopping_ = false;
    thread_ = std::thread(std::move(body));
}

void WorkerThread::stop() {
    if (!thread_.joinable()) return;
    post([this] { stopping_ = true; });
    thread_.join();
}
