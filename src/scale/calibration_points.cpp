// SPDX-License-Identifier: MIT
#include "scale/calibration_points.h"

#include "form/calibration_step.h"
#include "widgets/line_object.h"

#include <QLineEdit>

bool CalibrationPoints::press(float x, float y) {
    switch (calibration_step(room_)) {
    case CalibrationStep::point_start:
        room_.Line_scale->set_points(x, y, x, y);
        room_.Line_scale->show();
        set_calibration_step(room_, CalibrationStep::point_end);
        return true;
    case CalibrationStep::point_end:
        room_.Line_scale->set_X2(x);
        room_.Line_scale->set_Y2(y);
        set_calibration_step(room_, CalibrationStep::set_scale_as);
        room_.Text_scale->setText(QString());
        room_.Text_scale->setFocus();
        return true;
    case CalibrationStep::idle:
    case CalibrationStep::set_scale_as:
        return false;
    }
    return false;
}

bool CalibrationPoints::move(float x, float y) {
    if (calibration_step(room_) != CalibrationStep::point_end) return false;
    room_.Line_scale->set_X2(x);
    room_.Line_scale->set_Y2(y);
    return true;
}
