// SPDX-License-Identifier: MIT
#include "platform/input_log.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QWindow>

namespace {

Q_LOGGING_CATEGORY(input_log, "kelvo.input", QtWarningMsg)

class HandledInputLog : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        // A release reaches the window once, before its widgets; the line is
        // written from the event queue, so after the release (a click on a
        // button) and everything it started have been handled.
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease) &&
            qobject_cast<QWindow*>(receiver))
            QMetaObject::invokeMethod(
                this, [] { qCDebug(input_log, "input handled"); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void log_handled_input_when_asked(QCoreApplication& app) {
    if (input_log().isDebugEnabled()) app.installEventFilter(new HandledInputLog(&app));
}
