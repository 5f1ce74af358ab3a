// SPDX-License-Identifier: MIT
#pragma once
// SIGTERM (a logout, a shutdown, kill), SIGHUP (the terminal it was started
// from closed) and SIGINT (Ctrl+C there) would end the process at once. They
// are caught instead and handed to the event loop through a pipe (a signal
// handler may do little more than write a byte), so the program can close
// as its user would.

#include <QObject>

#include <functional>

// From now on each of the three signals runs `handler` with the signal's
// number, on the thread of `context`, while `context` lives. Returns false
// (nothing changed) when the pipe cannot be made.
bool on_quit_signals(QObject* context, std::function<void(int signal)> handler);
