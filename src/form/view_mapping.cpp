// SPDX-License-Identifier: MIT
#include "form/view_mapping.h"

#include "form/F_main.h"
#include "form/numbers.h"

ViewMapping view_mapping(const F_main& f) {
    return ViewMapping{leading_number(f.L_zval->text())};
}

void set_view_zoom(F_main& f, int percent) {
    f.L_zval->setText(QString::number(percent) + QLatin1Char('%'));
}
