// SPDX-License-Identifier: MIT
#include "picture/area_shrink.h"

void AreaShrink::shrink(const QImage& picture, QRect area, uchar* out, qsizetype out_line) const {
    if (picture.size() != from_ || picture.depth() != 32 ||
        (area & QRect(QPoint(0, 0), to_)).isEmpty())
        return;
    const area_average::ShrinkPlan plan(from_, to_);
    plan.shrink(picture.constBits(), picture.bytesPerLine(), area, reinterpret_cast<uint32_t*>(out),
                size_t(out_line / 4));
}
