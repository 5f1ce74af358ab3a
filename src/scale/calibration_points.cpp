// SPDX-License-Identifier: MIT
#include "scale/calibration_points.h"

#include "form/F_main.h"
#include "form/calibration_step.h"
#include "form/scale_room.h"

#include <QLineEdit>

bool CalibrationPoints::press(float x, float y) {
    F_main& f = f_;
    switch (calibration_step(f)) {
    case CalibrationStep::point_start:
        f.Line_scale->set_points(x, y, x, y);
        f.Line_scale->show();
        set_calibration_step(f.scale_room(), CalibrationStep::point_end);
        return true;
    case CalibrationStep::point_end:
        f.Line_scale->set_X2(x);
        f.Line_scale->set_Y2(y);
        set_calibration_step(f.scale_room(), CalibrationStep::set_scale_as);
        f.Text_scale->setText(QString());
        f.Text_scale->setFocus();
        return true;
    case CalibrationStep::idle:
    case CalibrationStep::set_scale_as:
        return false;
    }
    return false;
}

bool CalibrationPoints::move(float x, float y) {
    F_main& f = f_;
    if (calibration_step(f) != CalibrationStep::point_end) return false;
    f.Line_scale->set_X2(x);
    f.Line_scale->set_Y2(y);
    return true;
}
