// SPDX-License-Identifier: MIT
#include "form/check_value.h"

#include <QCheckBox>

int value(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}
