// SPDX-License-Identifier: MIT
#pragma once
// The busy cursor over the program's windows while work that takes more than
// a moment (decoding a large picture, writing one) holds the GUI thread.

#include <QCursor>
#include <QGuiApplication>

class BusyCursor {
  public:
    // `needed` false: nothing happens, for work known to be quick, so the
    // pointer does not flicker at every small step.
    explicit BusyCursor(bool needed = true) : shown_(needed) {
        if (shown_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (shown_) QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool shown_;
};
