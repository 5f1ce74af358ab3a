// SPDX-License-Identifier: MIT
#include "app/shortcuts.h"

#include "app/scroll_keys.h"
#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/scale_room.h"
#include "measure/line_cancel.h"
#include "measure/result_copy.h"
#include "scale/calibration_cancel.h"
#include "view/zoom.h"
#include "view/zoom_lock.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <functional>

namespace {

void on_keys(F_main& f, const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, &f);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &f, std::move(handler));
}

} // namespace

void cancel_current(F_main& f) {
    // A calibration comes first: while it waits, presses place its points,
    // not a measurement's.
    if (cancel_calibration(f.scale_room())) {
        f.report(QStringLiteral("Calibration cancelled; the scale is unchanged."));
    } else if (cancel_line(f.measure_room())) {
        f.report(QStringLiteral("Line cancelled."));
    }
}

void wire_shortcuts(F_main& f) {
    // Text boxes take Ctrl+C (and the editing keys) for themselves first, so
    // these act only while no text box has the focus.
    for (const char* in : {"Ctrl++", "Ctrl+="})
        on_keys(f, QKeySequence(QLatin1String(in)), [&f] {
            if (!refuse_locked_zoom(f)) L_in_Click(f);
        });
    on_keys(f, QKeySequence(QStringLiteral("Ctrl+-")), [&f] {
        if (!refuse_locked_zoom(f)) L_out_Click(f);
    });
    on_keys(f, QKeySequence(QStringLiteral("Ctrl+0")), [&f] {
        if (!refuse_locked_zoom(f)) L_even_Click(f);
    });
    on_keys(f, QKeySequence(Qt::Key_Escape), [&f] { cancel_current(f); });
    on_keys(f, QKeySequence::Copy, [&f] { copy_result(f.measure_room()); });
    // On the menu items, so the menus show them beside their access keys.
    f.fo->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    // Not PageDown and PageUp alone: those scroll (app/scroll_keys).
    f.ff->findChild<QAction*>(QStringLiteral("fn"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+PgDown")));
    f.ff->findChild<QAction*>(QStringLiteral("fv"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+PgUp")));
    f.fx->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    f.iu->setShortcut(QKeySequence(Qt::Key_F1));
    wire_scroll_keys(f);
}
