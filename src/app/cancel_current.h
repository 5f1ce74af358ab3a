// SPDX-License-Identifier: MIT
#pragma once

class F_main;

// What Escape does, anywhere in the main window: cancels a calibration that
// waits for its points, else the line being drawn, and says in the status
// bar which it cancelled.
void cancel_current(F_main& f);
