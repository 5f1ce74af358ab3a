// SPDX-License-Identifier: MIT
#include "platform/quit_signals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int write_end = -1;

extern "C" void note_signal(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    // Nothing to do when the pipe is full: a close is on its way already.
    [[maybe_unused]] const ssize_t n = ::write(write_end, &byte, 1);
    errno = saved;
}

} // namespace

bool on_quit_signals(QObject* context, std::function<void(int signal)> handler) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    write_end = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [fd = ends[0], handler] {
        char byte = 0;
        while (::read(fd, &byte, 1) == 1)
            handler(byte);
    });
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    return true;
}
