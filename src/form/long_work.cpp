// SPDX-License-Identifier: MIT
#include "form/long_work.h"

#include "form/F_main.h"
#include "form/reporter.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <algorithm>

namespace {

constexpr qint64 step_ms = 50;

} // namespace

LongWork::LongWork(F_main& f, QString what, Thread thread)
    : f_(f), what_(std::move(what)), thread_(thread) {
    clock_.start();
}

LongWork::LongWork(const Reporter& status, QString what, Thread thread)
    : LongWork(*status.f_, std::move(what), thread) {}

LongWork::~LongWork() {
    f_.progress_bar->hide();
}

void LongWork::progress(qint64 done, qint64 total) {
    const qint64 now = clock_.elapsed();
    if (now < shown_after_ms || (last_ms_ >= 0 && now - last_ms_ < step_ms)) return;
    last_ms_ = now;
    QProgressBar& bar = *f_.progress_bar;
    const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : 0;
    bar.setFormat(what_ + QStringLiteral(" %p%"));
    bar.setValue(percent);
    if (bar.isHidden()) bar.show();
    if (thread_ == Thread::held) {
        // Paint events and the window system's exposes only: input and the
        // ending signals (socket notifiers) wait until the work is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    }
}
