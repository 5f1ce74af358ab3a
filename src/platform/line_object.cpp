#include "platform/line_object.h"

#include "platform/picture_box.h"

#include <algorithm>
#include <cmath>

QRect LineObject::footprint() const {
    const float left = std::min(x1_, x2_), right = std::max(x1_, x2_);
    const float top = std::min(y1_, y2_), bottom = std::max(y1_, y2_);
    const int l = static_cast<int>(std::floor(left)) - 1;
    const int t = static_cast<int>(std::floor(top)) - 1;
    const int r = static_cast<int>(std::ceil(right)) + 1;
    const int b = static_cast<int>(std::ceil(bottom)) + 1;
    return QRect(QPoint(l, t), QPoint(r, b));
}

void LineObject::note_change() {
    if (!pending_) box_->line_changed(this);
}
