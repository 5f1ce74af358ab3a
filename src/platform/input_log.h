// SPDX-License-Identifier: MIT
#pragma once
// For whoever drives the program from outside (the end-to-end tests): with
// QT_LOGGING_RULES="kelvo.input.debug=true" the program logs "input handled"
// once it has handled each key or button release reaching one of its
// windows, so a driver waits for the program rather than for a fixed time.
// Off by default, and then nothing is installed.

class QCoreApplication;

void log_handled_input_when_asked(QCoreApplication& app);
