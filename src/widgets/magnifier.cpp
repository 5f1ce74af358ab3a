// SPDX-License-Identifier: MIT
#include "widgets/magnifier.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The arms stop short of the point, so the pixel under it stays in sight.
constexpr int gap = 4;
constexpr int note_height = 16;

// The source pixel each inset column (row) shows: the one under the middle
// of the column's eighth of a picture pixel.
std::array<int, Magnifier::side> source_indices(double at, double scale) {
    std::array<int, Magnifier::side> indices{};
    for (int i = 0; i < Magnifier::side; ++i) {
        const double picture = at + (i - Magnifier::cross + 0.5) / Magnifier::power;
        indices[size_t(i)] = static_cast<int>(std::floor(picture * scale));
    }
    return indices;
}
} // namespace

Magnifier::Magnifier(QWidget* parent, QRgb outside)
    : QWidget(parent), view_(side, side, QImage::Format_RGB32), outside_(outside) {
    setObjectName(QStringLiteral("magnifier"));
    setFixedSize(side, side);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer is never over the inset, and presses must reach the picture
    // should it ever be.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    view_.fill(outside_);
    hide();
}

void Magnifier::look_at(const QImage& source, double scale, QPointF at, const QString& note) {
    note_ = note;
    const auto columns = source_indices(at.x(), scale);
    const auto rows = source_indices(at.y(), scale);
    // The few source pixels the view draws from, as RGB32 whatever the
    // picture's own format: about 20 x 20 of them.
    const QRect needed =
        QRect(QPoint(columns.front(), rows.front()), QPoint(columns.back(), rows.back())) &
        source.rect();
    const QImage block =
        needed.isEmpty() ? QImage() : source.copy(needed).convertToFormat(QImage::Format_RGB32);
    for (int j = 0; j < side; ++j) {
        auto* out = reinterpret_cast<QRgb*>(view_.scanLine(j));
        const int row = rows[size_t(j)];
        if (block.isNull() || row < needed.top() || row > needed.bottom()) {
            std::fill(out, out + side, outside_);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(block.constScanLine(row - needed.top()));
        for (int i = 0; i < side; ++i) {
            const int column = columns[size_t(i)];
            out[i] = column < needed.left() || column > needed.right() ? outside_
                                                                       : in[column - needed.left()];
        }
    }
    update();
}

void Magnifier::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, view_);
    // The cross shows as the inverse of the pixels beneath it, as the
    // measuring lines do, so it is seen on any picture.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    const QColor black(0, 0, 0);
    painter.fillRect(QRect(cross, 0, 1, cross - gap), black);
    painter.fillRect(QRect(cross, cross + gap + 1, 1, side - cross - gap - 1), black);
    painter.fillRect(QRect(0, cross, cross - gap, 1), black);
    painter.fillRect(QRect(cross + gap + 1, cross, side - cross - gap - 1, 1), black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!note_.isEmpty()) {
        const QRect foot(0, side - note_height, side, note_height);
        painter.fillRect(foot, QColor(255, 255, 255, 200));
        QFont small = font();
        small.setPixelSize(11);
        painter.setFont(small);
        painter.setPen(Qt::black);
        painter.drawText(foot, Qt::AlignCenter, note_);
    }
    painter.setPen(QColor(32, 32, 32));
    painter.drawRect(0, 0, side - 1, side - 1);
}
