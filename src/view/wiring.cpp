// SPDX-License-Identifier: MIT
#include "view/wiring.h"

#include "form/F_main.h"
#include "form/view_room.h"
#include "platform/event_hooks.h"
#include "view/folder_steps.h"
#include "view/magnifier_control.h"
#include "view/picture_loading.h"
#include "view/pointer_place.h"
#include "view/pointer_readout.h"
#include "view/recent_menu.h"
#include "view/scroll_keys.h"
#include "view/scrolling.h"
#include "view/wheel.h"
#include "view/wheel_zoom.h"
#include "view/zoom.h"
#include "view/zoom_lock.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QScrollBar>
#include <QShortcut>
#include <memory>
#include <tuple>

namespace {

// A zoom key: a step as its label takes it, or with the zoom lock ticked a
// word in the status line (the labels beside the box stay silent).
void zoom_key(const ViewRoom& room, const QKeySequence& keys, void (*zoom)(const ViewRoom&)) {
    auto* shortcut = new QShortcut(keys, room.window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, room.window, [room, zoom] {
        if (const QString locked = zoom_lock_refusal(room); !locked.isEmpty())
            room.report(locked);
        else
            zoom(room);
    });
}

} // namespace

void wire_view(F_main& f) {
    // After measure's and scale's wiring: the room holds their doors.
    const ViewRoom room = f.view_room();
    QObject::connect(f.fo, &QAction::triggered, &f, [room] { open_picture(room); });
    f.fo->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    // Through the shown picture's folder, below Open picture. Not PageDown
    // and PageUp alone: those scroll (view/scroll_keys).
    for (const auto& [name, caption, keys, handler] :
         {std::tuple{"next_picture", "Next picture (&N)", "Ctrl+PgDown", &next_picture},
          std::tuple{"previous_picture", "Previous picture (&V)", "Ctrl+PgUp",
                     &previous_picture}}) {
        auto* item = new QAction(QLatin1String(caption), f.ff);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(QKeySequence(QLatin1String(keys)));
        f.ff->insertAction(f.fp, item);
        QObject::connect(item, &QAction::triggered, &f, [room, step = handler] { step(room); });
    }
    add_recent_menu(f);

    QObject::connect(f.L_in, &ClickLabel::clicked, &f, [room] { L_in_Click(room); });
    QObject::connect(f.L_out, &ClickLabel::clicked, &f, [room] { L_out_Click(room); });
    QObject::connect(f.L_even, &ClickLabel::clicked, &f, [room] { L_even_Click(room); });
    // Check_zlock's value is what the zoom buttons read; its click says so.
    QObject::connect(f.Check_zlock, &QCheckBox::clicked, &f, [room] { Check_zlock_Click(room); });
    // Text boxes take these keys for themselves first.
    for (const char* in : {"Ctrl++", "Ctrl+="})
        zoom_key(room, QKeySequence(QLatin1String(in)), &L_in_Click);
    zoom_key(room, QKeySequence(QStringLiteral("Ctrl+-")), &L_out_Click);
    zoom_key(room, QKeySequence(QStringLiteral("Ctrl+0")), &L_even_Click);

    // Dragging the thumb moves the picture live: with tracking on, the value
    // follows the thumb at every step and valueChanged runs the Change handler.
    for (QScrollBar* bar : {f.HS_main, f.VS_main})
        bar->setTracking(true);
    QObject::connect(f.HS_main, &QScrollBar::valueChanged, &f, [room] { HS_main_Change(room); });
    QObject::connect(f.VS_main, &QScrollBar::valueChanged, &f, [room] { VS_main_Change(room); });
    QObject::connect(f.HS_main, &QScrollBar::sliderMoved, &f, [room] { HS_main_Scroll(room); });
    QObject::connect(f.VS_main, &QScrollBar::sliderMoved, &f, [room] { VS_main_Scroll(room); });
    add_scroll_keys(room);

    // The wheel over the picture, or over the viewport around it.
    auto rest = std::make_shared<WheelRest>();
    rest->zoom = new WheelZoom(room);
    for (QWidget* area : {static_cast<QWidget*>(f.P_in), static_cast<QWidget*>(f.P_out)})
        on_wheel(area, [room, rest](QPoint angle, Qt::KeyboardModifiers modifiers, QPoint pointer) {
            P_out_Wheel(room, *rest, angle, modifiers, pointer);
        });

    // Connected after the measuring handlers (wired before view): the readout
    // and the magnifier show the pointer's move as measuring has taken it.
    auto* place = new PointerPlace(room);
    add_pointer_readout(f, *place);
    add_magnifier(f, *place);
}
