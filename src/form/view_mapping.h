// SPDX-License-Identifier: MIT
#pragma once
// The zoom and the mapping it gives between pixels shown in P_in and pixels
// of the picture at 100%. The caption of L_zval holds the zoom ("250%"); it is
// read and written here only, so measuring, calibration, the scale bar and
// the view agree on one reading of it.

#include <QPointF>

class F_main;

struct ViewMapping {
    double percent = 100; // the zoom caption's number

    // Picture pixels per shown pixel, in the single precision the measuring
    // arithmetic multiplies with.
    float factor() const { return static_cast<float>(100.0 / percent); }
    double to_picture(double shown) const { return shown * 100.0 / percent; }
    double to_shown(double picture) const { return picture * percent / 100.0; }
    QPointF to_picture(QPointF shown) const {
        return QPointF(to_picture(shown.x()), to_picture(shown.y()));
    }
};

// The mapping the zoom caption shows ("100%" gives 100; no number gives 0).
ViewMapping view_mapping(const F_main& f);
// Writes the zoom caption: "250%".
void set_view_zoom(F_main& f, int percent);
