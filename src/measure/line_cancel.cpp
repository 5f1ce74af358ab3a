// SPDX-License-Identifier: MIT
#include "measure/line_cancel.h"

#include "form/F_main.h"
#include "form/measuring_mode.h"
#include "measure/pointer_input.h"

#include <QCheckBox>

bool cancel_line(F_main& f) {
    if (lines_hidden(f)) return false;
    const bool drawing = f.m_state == MeasuringState::start_fixed ||
                         (f.m_state == MeasuringState::chain_open && f.seg_count >= 1);
    if (!drawing) return false;
    take_back_point(f);
    return true;
}
