#include "scale/calibration_cancel.h"

#include "scale/calibration_step.h"
#include "measure/chain.h"
#include "measure/modes.h"
#include "shell/F_main.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

bool cancel_calibration(F_main& f) {
    if (!calibration_awaits_point(f)) return false;
    f.Line_scale->hide();
    set_calibration_step(f, CalibrationStep::idle);
    // Starting the calibration cleared what the mode showed; measuring starts
    // afresh as after a completed calibration, with the cross-hair back.
    if (value(f.Check_hideline) == 0) {
        switch (measuring_mode(f)) {
        case MeasuringMode::single:
            reset_single_line(f);
            break;
        case MeasuringMode::chain:
            clear_segments(f);
            reset_multi_line(f);
            break;
        case MeasuringMode::free_hand:
            break;
        }
        f.L_trace_x->show();
        f.L_trace_y->show();
    }
    return true;
}
