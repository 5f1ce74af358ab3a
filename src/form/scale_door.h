// SPDX-License-Identifier: MIT
#pragma once
// What the scale lets the subsystems above it ask, without its elements:
// the scale bar as it stands, for the exported picture; the bar redrawn
// where the view has moved, the reference line kept across a zoom step, the
// calibration ended for a new picture. Scale installs it
// (F_main::scale_door) when it is wired.

#include <QLineF>
#include <QPoint>
#include <QString>
#include <vector>

struct ViewMapping;

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
    // Draws the bar at the corner of what the viewport shows now.
    virtual void draw_scale_bar() = 0;
    // A zoom step from `was` to `now` keeps a reference line being marked on
    // the picture pixels it marks.
    virtual void keep_calibration_line(const ViewMapping& was, const ViewMapping& now) = 0;
    // Leaves a calibration under way without changing the scale; false when
    // none was under way.
    virtual bool end_calibration() = 0;
};
