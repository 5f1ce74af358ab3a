// SPDX-License-Identifier: MIT
#include "form/measuring_mode.h"

#include "form/F_main.h"
#include "form/measure_room.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {
MeasuringMode selected_mode(const QRadioButton* single, const QRadioButton* chain) {
    if (single->isChecked()) return MeasuringMode::single;
    if (chain->isChecked()) return MeasuringMode::chain;
    return MeasuringMode::free_hand;
}
} // namespace

MeasuringMode measuring_mode(const F_main& f) {
    return selected_mode(f.Option_tracer[0], f.Option_tracer[1]);
}
MeasuringMode measuring_mode(const MeasureRoom& room) {
    return selected_mode(room.Option_tracer[0], room.Option_tracer[1]);
}

void set_measuring_mode(F_main& f, MeasuringMode mode) {
    f.Option_tracer[static_cast<std::size_t>(mode)]->setChecked(true);
}

bool lines_hidden(const F_main& f) {
    return f.Check_hideline->isChecked();
}
bool lines_hidden(const MeasureRoom& room) {
    return room.Check_hideline->isChecked();
}
