// SPDX-License-Identifier: MIT
#include "form/calibration_step.h"

#include "form/F_main.h"
#include "form/scale_room.h"

#include <QPushButton>

QString calibration_caption(CalibrationStep step) {
    switch (step) {
    case CalibrationStep::idle:
        return QStringLiteral("set kelvo");
    case CalibrationStep::point_start:
        return QStringLiteral("point start");
    case CalibrationStep::point_end:
        return QStringLiteral("point end");
    case CalibrationStep::set_scale_as:
        return QStringLiteral("set scale as...");
    }
    return QString();
}

namespace {
CalibrationStep shown_step(const QPushButton* Command_set) {
    const QString caption = Command_set->text();
    for (CalibrationStep step :
         {CalibrationStep::point_start, CalibrationStep::point_end, CalibrationStep::set_scale_as})
        if (caption == calibration_caption(step)) return step;
    return CalibrationStep::idle;
}
} // namespace

CalibrationStep calibration_step(const F_main& f) {
    return shown_step(f.Command_set);
}
CalibrationStep calibration_step(const ScaleRoom& room) {
    return shown_step(room.Command_set);
}

void set_calibration_step(const ScaleRoom& room, CalibrationStep step) {
    room.Command_set->setText(calibration_caption(step));
}

bool calibration_awaits_point(const ScaleRoom& room) {
    const CalibrationStep step = calibration_step(room);
    return step == CalibrationStep::point_start || step == CalibrationStep::point_end;
}
