// SPDX-License-Identifier: MIT
#include "view/pointer_readout.h"

#include "form/F_main.h"
#include "form/straight_lines.h"
#include "form/view_mapping.h"
#include "view/pointer_place.h"

#include <QLabel>
#include <QStatusBar>
#include <cmath>
#include <numbers>

namespace {

void show(QLabel* label, const QString& text) {
    // Most moves change the text; a move within the same tenth of a pixel
    // costs no repaint.
    if (label->text() != text) label->setText(text);
}

} // namespace

std::optional<double> segment_angle(QPointF from, QPointF to) {
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    if (dx == 0 && dy == 0) return std::nullopt;
    return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

namespace {
// Cut to a tenth, not rounded: the whole part is then always the pixel under
// the pointer (at 510% the last screen column of pixel 250 is 250.98, and
// rounded it would read 251.0). The nudge keeps a place that is a tenth
// exactly, such as 1275 / 5.1, from losing it to the division's last bit.
double tenths_down(double v) {
    return std::floor(v * 10 + 1e-6) / 10;
}
} // namespace

QString readout_text(QPointF picture, std::optional<double> angle) {
    QString text = QStringLiteral("x %1  y %2")
                       .arg(tenths_down(picture.x()), 0, 'f', 1)
                       .arg(tenths_down(picture.y()), 0, 'f', 1);
    if (angle) {
        double tenths = std::round(*angle * 10) / 10;
        if (tenths <= -180) tenths = 180; // the half-turn is written one way
        if (tenths == 0) tenths = 0;      // never "-0.0"
        text += QStringLiteral("  angle %1\u00B0").arg(tenths, 0, 'f', 1);
    }
    return text;
}

void add_pointer_readout(F_main& f, PointerPlace& place) {
    auto* label = new QLabel(f.statusBar());
    label->setObjectName(QStringLiteral("pointer_readout"));
    label->setTextFormat(Qt::PlainText);
    // A fixed size: a new text repaints the label and never lays out the
    // status bar again.
    label->setFixedSize(
        label->fontMetrics().horizontalAdvance(readout_text({888888.8, 888888.8}, -178.8)) + 8,
        label->sizeHint().height());
    f.statusBar()->addPermanentWidget(label);

    QObject::connect(&place, &PointerPlace::over, label, [&f, label](QPointF at) {
        const ViewMapping view = view_mapping(f);
        // The angle of the line as it will be taken: snapped while Shift is held.
        const std::optional<QPointF> start = drawn_line_start(f);
        show(label,
             readout_text(view.to_picture(at),
                          start ? segment_angle(*start, drawn_line_end(f, at)) : std::nullopt));
    });
    QObject::connect(&place, &PointerPlace::away, label, [label] { show(label, QString()); });
}
