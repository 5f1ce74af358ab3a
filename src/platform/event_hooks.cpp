// SPDX-License-Identifier: MIT
#include "platform/event_hooks.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

#include <map>

namespace {

class KeyPressFilter : public QObject {
  public:
    KeyPressFilter(QObject* parent, KeyPressHandler handler)
        : QObject(parent), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (!key->text().isEmpty())
            code = key->text().at(0).unicode();
        else
            return false; // arrows, function keys: no character code, nothing to see
        const int before = code;
        handler_(code);
        return code == 0 && before != 0;
    }

  private:
    KeyPressHandler handler_;
};

class RepeatFilter : public QObject {
  public:
    RepeatFilter(QObject* parent, std::initializer_list<int> keys) : QObject(parent) {
        for (const int key : keys)
            released_at_[key] = 0;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const auto released = released_at_.find(key->key());
        if (released == released_at_.end()) return false;
        if (event->type() == QEvent::KeyRelease) {
            released->second = key->timestamp();
            return false;
        }
        return key->isAutoRepeat() ||
               (key->timestamp() != 0 && key->timestamp() == released->second);
    }

  private:
    std::map<int, quint64> released_at_; // each key's last release
};

class ResizeFilter : public QObject {
  public:
    ResizeFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) handler_();
        return false;
    }

  private:
    std::function<void()> handler_;
};

class WheelFilter : public QObject {
  public:
    WheelFilter(QObject* parent, WheelHandler handler)
        : QObject(parent), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        handler_(wheel->angleDelta(), wheel->modifiers(), wheel->globalPosition().toPoint());
        wheel->accept();
        return true;
    }

  private:
    WheelHandler handler_;
};

} // namespace

void on_key_press(QWidget* widget, KeyPressHandler handler) {
    widget->installEventFilter(new KeyPressFilter(widget, std::move(handler)));
}

void ignore_key_repeats(QWidget* widget, std::initializer_list<int> keys) {
    widget->installEventFilter(new RepeatFilter(widget, keys));
}

void on_resize(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ResizeFilter(widget, std::move(handler)));
}

void on_wheel(QWidget* widget, WheelHandler handler) {
    widget->installEventFilter(new WheelFilter(widget, std::move(handler)));
}
