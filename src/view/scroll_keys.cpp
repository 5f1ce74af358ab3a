// SPDX-License-Identifier: MIT
#include "view/scroll_keys.h"

#include "form/view_room.h"
#include "view/wheel.h"
#include "widgets/picture_box.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>

namespace {

// How far a key goes. Steps are measured by the viewport, not by the bars'
// own steps (a twentieth and a fifth of the hidden length), which on a large
// picture jump past more than the viewport shows.
enum class Reach {
    step, // as far as a notch of the wheel
    page, // the viewport's length: the next part, nothing skipped
    edge, // to the picture's edge
};

struct ScrollKey {
    QKeyCombination keys;
    bool sideways;
    Reach reach;
    int direction; // -1 up (left), +1 down (right)
};

const ScrollKey scroll_keys[] = {
    {Qt::Key_PageUp, false, Reach::page, -1},
    {Qt::Key_PageDown, false, Reach::page, +1},
    {Qt::SHIFT | Qt::Key_PageUp, true, Reach::page, -1},
    {Qt::SHIFT | Qt::Key_PageDown, true, Reach::page, +1},
    {Qt::Key_Home, false, Reach::edge, -1},
    {Qt::Key_End, false, Reach::edge, +1},
    {Qt::SHIFT | Qt::Key_Home, true, Reach::edge, -1},
    {Qt::SHIFT | Qt::Key_End, true, Reach::edge, +1},
    {Qt::Key_Up, false, Reach::step, -1},
    {Qt::Key_Down, false, Reach::step, +1},
    {Qt::Key_Left, true, Reach::step, -1},
    {Qt::Key_Right, true, Reach::step, +1},
};

// Moves the bar's value, so its Change handler moves the picture and redraws
// the scale bar; a bar with nothing to scroll has a range of 0 and stays.
void scroll(const ViewRoom& room, const ScrollKey& k) {
    QScrollBar* bar = k.sideways ? room.HS_main : room.VS_main;
    const int viewport = k.sideways ? room.P_out->width() : room.P_out->height();
    switch (k.reach) {
    case Reach::step:
        bar->setValue(bar->value() + k.direction * notch_scroll(viewport));
        break;
    case Reach::page:
        bar->setValue(bar->value() + k.direction * std::max(1, viewport));
        break;
    case Reach::edge:
        bar->setValue(k.direction < 0 ? bar->minimum() : bar->maximum());
        break;
    }
}

bool is_scroll_key(const QKeyEvent& key) {
    // The keypad's arrows and page keys are the same keys.
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    return std::any_of(std::begin(scroll_keys), std::end(scroll_keys),
                       [&](const ScrollKey& k) { return k.keys == pressed; });
}

// Claims the scroll keys for the element it watches before the window's
// shortcuts see them.
class KeepsScrollKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride ||
            !is_scroll_key(*static_cast<QKeyEvent*>(event)))
            return false;
        event->accept();
        return true;
    }
};

// The menu bar too, while it is worked with the keyboard (after Alt).
bool uses_scroll_keys(const QWidget* w) {
    return qobject_cast<const QMenuBar*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QRadioButton*>(w);
}

} // namespace

void add_scroll_keys(const ViewRoom& room) {
    for (const ScrollKey& k : scroll_keys) {
        auto* shortcut = new QShortcut(QKeySequence(k.keys), room.window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, room.window,
                         [room, &k] { scroll(room, k); });
    }
    auto* keeper = new KeepsScrollKeys(room.window);
    for (QWidget* w : room.window->findChildren<QWidget*>())
        if (uses_scroll_keys(w)) w->installEventFilter(keeper);
}
