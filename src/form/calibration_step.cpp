// SPDX-License-Identifier: MIT
#include "form/calibration_step.h"

#include "form/F_main.h"

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

CalibrationStep calibration_step(const F_main& f) {
    const QString caption = f.Command_set->text();
    for (CalibrationStep step :
         {CalibrationStep::point_start, CalibrationStep::point_end, CalibrationStep::set_scale_as})
        if (caption == calibration_caption(step)) return step;
    return CalibrationStep::idle;
}

void set_calibration_step(F_main& f, CalibrationStep step) {
    f.Command_set->setText(calibration_caption(step));
}

bool calibration_awaits_point(const F_main& f) {
    const CalibrationStep step = calibration_step(f);
    return step == CalibrationStep::point_start || step == CalibrationStep::point_end;
}
