#include "measure/view_mapping.h"

#include "platform/numbers.h"
#include "shell/F_main.h"

ViewMapping view_mapping(const F_main& f) {
    return ViewMapping{leading_number(f.L_zval->text())};
}

void set_view_zoom(F_main& f, int percent) {
    f.L_zval->setText(QString::number(percent) + QLatin1Char('%'));
}
