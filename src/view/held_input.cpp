// SPDX-License-Identifier: MIT
#include "view/held_input.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <deque>
#include <memory>

// Qt's own entry (QtGui) that tries a key against the shortcuts, as the
// window system's key press does; QTest uses it the same way. A key handed on
// later must reach the window's shortcuts as it would have at once.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace {

struct Held {
    QPointer<QWidget> receiver;
    std::unique_ptr<QEvent> event;
};

// The object names of the actions whose keys open another picture.
constexpr const char* opening_actions[] = {"fo", "next_picture", "previous_picture"};

class InputHolder : public QObject {
  public:
    explicit InputHolder(QWidget* window) : QObject(window), window_(*window) {
        setObjectName(QStringLiteral("held_input"));
    }
    ~InputHolder() override {
        if (holds_ > 0) qApp->removeEventFilter(this);
    }

    void hold() {
        if (holds_++ == 0) qApp->installEventFilter(this);
    }
    void release() {
        if (--holds_ > 0) return;
        qApp->removeEventFilter(this);
        hand_on();
    }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(receiver);
        if (w == nullptr || w->window() != &window_) return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (opens_picture(*static_cast<QKeyEvent*>(event))) return false;
            // Claimed, so the key comes as a key press, which is held.
            event->accept();
            return true;
        case QEvent::KeyPress:
            if (opens_picture(*static_cast<QKeyEvent*>(event))) return false;
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            held_.push_back({w, std::unique_ptr<QEvent>(event->clone())});
            return true;
        case QEvent::Close:
            if (w != &window_) return false;
            close_asked_ = true;
            event->ignore();
            return true;
        default:
            return false;
        }
    }

  private:
    bool opens_picture(const QKeyEvent& key) const {
        const QKeySequence pressed(key.keyCombination());
        for (const char* name : opening_actions)
            if (const auto* a = window_.findChild<QAction*>(QLatin1String(name));
                a != nullptr && a->isEnabled() && !a->shortcut().isEmpty() &&
                a->shortcut().matches(pressed) == QKeySequence::ExactMatch)
                return true;
        return false;
    }

    // The widget under a pointer's place on the screen now.
    QWidget* under(QPointF global) {
        QWidget* at = window_.childAt(window_.mapFromGlobal(global.toPoint()));
        return at != nullptr ? at : &window_;
    }

    void hand_on() {
        // Whatever is handed on may start another open, which holds the rest.
        while (holds_ == 0 && !held_.empty()) {
            Held next = std::move(held_.front());
            held_.pop_front();
            hand_on(next);
        }
        if (holds_ == 0 && close_asked_) {
            close_asked_ = false;
            QTimer::singleShot(0, &window_, [this] { window_.close(); });
        }
    }

    void hand_on(Held& held) {
        QEvent& event = *held.event;
        switch (event.type()) {
        case QEvent::KeyPress: {
            QWidget* to = held.receiver ? held.receiver.data() : &window_;
            const auto& key = static_cast<const QKeyEvent&>(event);
            if (qt_sendShortcutOverrideEvent(to, key.timestamp(), key.key(), key.modifiers(),
                                             key.text(), key.isAutoRepeat(), key.count()))
                return;
            QApplication::sendEvent(to, &event);
            return;
        }
        case QEvent::KeyRelease:
            QApplication::sendEvent(held.receiver ? held.receiver.data() : &window_, &event);
            return;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto& mouse = static_cast<const QMouseEvent&>(event);
            // A press goes where the pointer is now; its release and double
            // click follow it there.
            if (event.type() == QEvent::MouseButtonPress || !pressed_)
                pressed_ = under(mouse.globalPosition());
            QWidget* to = pressed_;
            QMouseEvent moved(event.type(), to->mapFromGlobal(mouse.globalPosition()),
                              mouse.globalPosition(), mouse.button(), mouse.buttons(),
                              mouse.modifiers());
            QApplication::sendEvent(to, &moved);
            return;
        }
        case QEvent::Wheel: {
            const auto& wheel = static_cast<const QWheelEvent&>(event);
            QWidget* to = under(wheel.globalPosition());
            QWheelEvent moved(to->mapFromGlobal(wheel.globalPosition()), wheel.globalPosition(),
                              wheel.pixelDelta(), wheel.angleDelta(), wheel.buttons(),
                              wheel.modifiers(), wheel.phase(), wheel.inverted());
            QApplication::sendEvent(to, &moved);
            return;
        }
        default:
            return;
        }
    }

    QWidget& window_; // the main window
    int holds_ = 0;
    std::deque<Held> held_;
    QPointer<QWidget> pressed_;
    bool close_asked_ = false;
};

InputHolder& holder(QWidget* window) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* h = window->findChild<QObject*>(QStringLiteral("held_input"), Qt::FindDirectChildrenOnly);
    return h != nullptr ? *static_cast<InputHolder*>(h) : *new InputHolder(window);
}

} // namespace

void hold_input(QWidget* window) {
    holder(window).hold();
}

void release_input(QWidget* window) {
    holder(window).release();
}
