// SPDX-License-Identifier: MIT
#include "form/view_mapping.h"

#include "form/F_main.h"

ViewMapping view_mapping(const F_main& f) {
    return f.zoom;
}

void set_view_zoom(F_main& f, int percent) {
    set_view_zoom(f.zoom, f.L_zval, percent);
}

void set_view_zoom(ViewMapping& zoom, QLabel* caption, int percent) {
    zoom = ViewMapping{double(percent)};
    caption->setText(QString::number(percent) + QLatin1Char('%'));
}
