// SPDX-License-Identifier: MIT
#include "measure/line_cancel.h"

#include "form/measure_room.h"
#include "form/measuring_mode.h"
#include "measure/pointer_input.h"

#include <QCheckBox>

bool cancel_line(const MeasureRoom& room) {
    if (lines_hidden(room)) return false;
    const bool drawing = room.m_state == MeasuringState::start_fixed ||
                         (room.m_state == MeasuringState::chain_open && room.seg_count >= 1);
    if (!drawing) return false;
    take_back_point(room);
    return true;
}
