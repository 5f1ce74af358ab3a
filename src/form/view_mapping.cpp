// SPDX-License-Identifier: MIT
#include "form/view_mapping.h"

#include "form/F_main.h"

ViewMapping view_mapping(const F_main& f) {
    return f.zoom;
}

void set_view_zoom(F_main& f, int percent) {
    f.zoom = ViewMapping{double(percent)};
    f.L_zval->setText(QString::number(percent) + QLatin1Char('%'));
}
