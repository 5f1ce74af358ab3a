// SPDX-License-Identifier: MIT
#pragma once
// Work that keeps the user waiting (opening a large picture, exporting one,
// reading back a workbook) shows how far it got in the status bar once it has
// taken more than half a second; quicker work shows nothing, so short steps do
// not make the bar flicker. The status line itself is left alone: the message
// that ends the work replaces it as ever.

#include <QElapsedTimer>
#include <QString>

class F_main;
class Reporter;

class LongWork {
  public:
    enum class Thread {
        held,     // the work runs on the GUI thread: progress() repaints the window itself
        waited_on // the work runs elsewhere and the event loop runs: progress() only sets the bar
    };
    // `what` names the work as the bar shows it beside the percentage ("Saving view.png").
    LongWork(F_main& f, QString what, Thread thread = Thread::held);
    // The same, for a subsystem that holds the status bar through its room.
    LongWork(const Reporter& status, QString what, Thread thread = Thread::held);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // `done` of `total` units are finished. Cheap enough to call for every band
    // of rows: it acts at most every 50 ms. With the GUI thread held, the
    // window is repainted then (no input is taken, so nothing the user does can
    // start while the work is half done).
    void progress(qint64 done, qint64 total);

    static constexpr qint64 shown_after_ms = 500;

  private:
    F_main& f_;
    QString what_;
    Thread thread_;
    QElapsedTimer clock_;
    qint64 last_ms_ = -1;
};
