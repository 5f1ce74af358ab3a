#include "shell/scroll_keys.h"

#include "shell/F_main.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextEdit>

namespace {

struct ScrollKey {
    QKeyCombination keys;
    bool sideways;
    QAbstractSlider::SliderAction action;
};

const ScrollKey scroll_keys[] = {
    {Qt::Key_PageUp, false, QAbstractSlider::SliderPageStepSub},
    {Qt::Key_PageDown, false, QAbstractSlider::SliderPageStepAdd},
    {Qt::SHIFT | Qt::Key_PageUp, true, QAbstractSlider::SliderPageStepSub},
    {Qt::SHIFT | Qt::Key_PageDown, true, QAbstractSlider::SliderPageStepAdd},
    {Qt::Key_Home, false, QAbstractSlider::SliderToMinimum},
    {Qt::Key_End, false, QAbstractSlider::SliderToMaximum},
    {Qt::SHIFT | Qt::Key_Home, true, QAbstractSlider::SliderToMinimum},
    {Qt::SHIFT | Qt::Key_End, true, QAbstractSlider::SliderToMaximum},
    {Qt::Key_Up, false, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Down, false, QAbstractSlider::SliderSingleStepAdd},
    {Qt::Key_Left, true, QAbstractSlider::SliderSingleStepSub},
    {Qt::Key_Right, true, QAbstractSlider::SliderSingleStepAdd},
};

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

void wire_scroll_keys(F_main& f) {
    // The bars' own steps, so the Change handlers move the picture and redraw
    // the scale bar; a bar with nothing to scroll has a range of 0 and stays.
    for (const ScrollKey& k : scroll_keys) {
        auto* shortcut = new QShortcut(QKeySequence(k.keys), &f);
        shortcut->setContext(Qt::WindowShortcut);
        QScrollBar* bar = k.sideways ? f.HS_main : f.VS_main;
        QObject::connect(shortcut, &QShortcut::activated, bar,
                         [bar, action = k.action] { bar->triggerAction(action); });
    }
    auto* keeper = new KeepsScrollKeys(&f);
    for (QWidget* w : f.findChildren<QWidget*>())
        if (uses_scroll_keys(w)) w->installEventFilter(keeper);
}
