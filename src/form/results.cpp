// SPDX-License-Identifier: MIT
#include "form/results.h"

#include "form/F_main.h"

std::array<ShownResult, 3> shown_results(const F_main& f) {
    return {{{f.Lb_x->text(), f.Lb_x->fore_colour()},
             {f.Lb_y->text(), f.Lb_y->fore_colour()},
             {f.Lb_d->text(), f.Lb_d->fore_colour()}}};
}

void set_result_texts(F_main& f, const QString& x, const QString& y, const QString& d) {
    f.Lb_x->setText(x);
    f.Lb_y->setText(y);
    f.Lb_d->setText(d);
}
