// SPDX-License-Identifier: MIT
#include "form/results.h"

#include "form/measure_room.h"
#include "widgets/click_label.h"

std::array<ShownResult, 3> shown_results(const MeasureRoom& room) {
    return {{{room.Lb_x->text(), room.Lb_x->fore_colour()},
             {room.Lb_y->text(), room.Lb_y->fore_colour()},
             {room.Lb_d->text(), room.Lb_d->fore_colour()}}};
}

void set_result_texts(const MeasureRoom& room, const QString& x, const QString& y,
                      const QString& d) {
    room.Lb_x->setText(x);
    room.Lb_y->setText(y);
    room.Lb_d->setText(d);
}
