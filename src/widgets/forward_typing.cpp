// SPDX-License-Identifier: MIT
#include "widgets/forward_typing.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace {

class TypingForwarder : public QObject {
  public:
    TypingForwarder(QObject* parent, QPlainTextEdit* to) : QObject(parent), to_(to) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace() ||
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        // A letter that is also a window's key (M, the magnifier) is typed,
        // as it would be in the comment box itself: the key press then comes
        // here instead of going to the shortcut.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        // The focus stays on the button, so the Enter that follows the
        // comment writes the row.
        QTextCursor end = to_->textCursor();
        end.movePosition(QTextCursor::End);
        end.insertText(text);
        to_->setTextCursor(end);
        to_->ensureCursorVisible();
        return true;
    }

  private:
    QPlainTextEdit* to_;
};

} // namespace

void forward_typing(QWidget* from, QPlainTextEdit* to) {
    from->installEventFilter(new TypingForwarder(from, to));
}
