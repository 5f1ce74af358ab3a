// SPDX-License-Identifier: MIT
#include "form/measuring_mode.h"

#include "form/F_main.h"

#include <QCheckBox>
#include <QRadioButton>

MeasuringMode measuring_mode(const F_main& f) {
    if (f.Option_tracer[0]->isChecked()) return MeasuringMode::single;
    if (f.Option_tracer[1]->isChecked()) return MeasuringMode::chain;
    return MeasuringMode::free_hand;
}

void set_measuring_mode(F_main& f, MeasuringMode mode) {
    f.Option_tracer[static_cast<std::size_t>(mode)]->setChecked(true);
}

bool lines_hidden(const F_main& f) {
    return f.Check_hideline->isChecked();
}
