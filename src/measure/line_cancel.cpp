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
    // The right press does not use the place it happens at.
    P_in_MouseDown(f, 2, f.pt_x, f.pt_y);
    return true;
}
