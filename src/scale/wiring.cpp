// SPDX-License-Identifier: MIT
#include "scale/wiring.h"

#include "form/F_main.h"
#include "form/scale_room.h"
#include "platform/event_hooks.h"
#include "scale/calibration.h"
#include "scale/calibration_points.h"
#include "scale/scale_bar.h"
#include "scale/scale_door.h"
#include "scale/scale_file.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void wire_scale(F_main& f) {
    // After measuring's wiring: the room holds measuring's door.
    const ScaleRoom room = f.scale_room();
    f.scale_door = make_scale_door(room);
    f.pointer_tool = std::make_unique<CalibrationPoints>(room);
    QObject::connect(f.Command_set, &QPushButton::clicked, &f, [room] { Command_set_Click(room); });
    on_key_press(f.Text_scale, [room](int& key_ascii) { Text_scale_KeyPress(room, key_ascii); });
    QObject::connect(f.fl, &QAction::triggered, &f, [room] { save_scale_defi(room); });
    QObject::connect(f.fp, &QAction::triggered, &f, [room] { open_scale_defi(room); });
    // Clicks only: the handlers answer the user, not a value set by the program.
    QObject::connect(f.Check_hidescale, &QCheckBox::clicked, &f,
                     [room] { Check_hidescale_Click(room); });
    QObject::connect(f.Check_hidedivisions, &QCheckBox::clicked, &f,
                     [room] { Check_hidedivisions_Click(room); });
}
