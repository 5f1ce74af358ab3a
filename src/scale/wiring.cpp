// SPDX-License-Identifier: MIT
#include "scale/wiring.h"

#include "form/F_main.h"
#include "platform/event_hooks.h"
#include "scale/calibration.h"
#include "scale/calibration_points.h"
#include "scale/scale_bar.h"
#include "scale/scale_file.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void wire_scale(F_main& f) {
    f.pointer_tool = std::make_unique<CalibrationPoints>(f);
    QObject::connect(f.Command_set, &QPushButton::clicked, &f, [&f] { Command_set_Click(f); });
    on_key_press(f.Text_scale, [&f](int& key_ascii) { Text_scale_KeyPress(f, key_ascii); });
    QObject::connect(f.fl, &QAction::triggered, &f, [&f] { save_scale_defi(f); });
    QObject::connect(f.fp, &QAction::triggered, &f, [&f] { open_scale_defi(f); });
    // Clicks only: the handlers answer the user, not a value set by the program.
    QObject::connect(f.Check_hidescale, &QCheckBox::clicked, &f,
                     [&f] { Check_hidescale_Click(f); });
    QObject::connect(f.Check_hidedivisions, &QCheckBox::clicked, &f,
                     [&f] { Check_hidedivisions_Click(f); });
}
