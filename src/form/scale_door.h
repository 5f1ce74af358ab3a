// SPDX-License-Identifier: MIT
#pragma once
// What the scale lets the subsystems above it read, without its elements:
// the scale bar as it stands, for the exported picture. Scale installs it
// (F_main::scale_door) when it is wired.

#include <QLineF>
#include <QPoint>
#include <QString>
#include <vector>

struct ShownScaleBar {
    // The bar's lines in P_in pixels; none while "hide scale" is ticked.
    std::vector<QLineF> lines;
    // The division's label and its top-left corner; empty while "hide scale"
    // or "hide division" is ticked.
    QString caption;
    QPoint caption_at;
};

class ScaleDoor {
  public:
    virtual ~ScaleDoor() = default;
    // The scale bar where its last draw left it.
    virtual ShownScaleBar shown_scale_bar() const = 0;
};
