// SPDX-License-Identifier: MIT
#include "view/wiring.h"

#include "form/F_main.h"
#include "platform/event_hooks.h"
#include "view/folder_steps.h"
#include "view/picture_loading.h"
#include "view/scrolling.h"
#include "view/wheel.h"
#include "view/wheel_zoom.h"
#include "view/zoom.h"
#include "view/zoom_lock.h"

#include <QCheckBox>

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <memory>
#include <tuple>

void wire_view(F_main& f) {
    QObject::connect(f.fo, &QAction::triggered, &f, [&f] { open_picture(f); });
    // Through the shown picture's folder, below Open picture; found by name
    // ("next_picture", "previous_picture"), their keys set with the window's others.
    for (const auto& [name, caption, handler] :
         {std::tuple{"next_picture", "Next picture (&N)", &next_picture},
          std::tuple{"previous_picture", "Previous picture (&V)", &previous_picture}}) {
        auto* item = new QAction(QLatin1String(caption), f.ff);
        item->setObjectName(QLatin1String(name));
        f.ff->insertAction(f.fp, item);
        QObject::connect(item, &QAction::triggered, &f, [&f, step = handler] { step(f); });
    }

    QObject::connect(f.L_in, &ClickLabel::clicked, &f, [&f] { L_in_Click(f); });
    QObject::connect(f.L_out, &ClickLabel::clicked, &f, [&f] { L_out_Click(f); });
    QObject::connect(f.L_even, &ClickLabel::clicked, &f, [&f] { L_even_Click(f); });
    // Check_zlock's value is what the zoom buttons read; its click says so.
    QObject::connect(f.Check_zlock, &QCheckBox::clicked, &f, [&f] { Check_zlock_Click(f); });

    // Dragging the thumb moves the picture live: with tracking on, the value
    // follows the thumb at every step and valueChanged runs the Change handler.
    for (QScrollBar* bar : {f.HS_main, f.VS_main})
        bar->setTracking(true);
    QObject::connect(f.HS_main, &QScrollBar::valueChanged, &f, [&f] { HS_main_Change(f); });
    QObject::connect(f.VS_main, &QScrollBar::valueChanged, &f, [&f] { VS_main_Change(f); });
    QObject::connect(f.HS_main, &QScrollBar::sliderMoved, &f, [&f] { HS_main_Scroll(f); });
    QObject::connect(f.VS_main, &QScrollBar::sliderMoved, &f, [&f] { VS_main_Scroll(f); });

    // The wheel over the picture, or over the viewport around it.
    auto rest = std::make_shared<WheelRest>();
    rest->zoom = new WheelZoom(f);
    for (QWidget* area : {static_cast<QWidget*>(f.P_in), static_cast<QWidget*>(f.P_out)})
        on_wheel(area, [&f, rest](QPoint angle, Qt::KeyboardModifiers modifiers, QPoint pointer) {
            P_out_Wheel(f, *rest, angle, modifiers, pointer);
        });
}
