// SPDX-License-Identifier: MIT
#include "view/zoomed_size.h"

#include "form/numbers.h"
#include "form/view_mapping.h"

#include <algorithm>

namespace {
int zoomed_side(int side, double percent) {
    return std::max(1, round_to_int(ViewMapping{percent}.to_shown(side)));
}
} // namespace

QSize zoomed_size(QSize picture, double percent) {
    return QSize(zoomed_side(picture.width(), percent), zoomed_side(picture.height(), percent));
}
