// SPDX-License-Identifier: MIT
#pragma once
// The zoom and the mapping it gives between pixels shown in P_in and pixels
// of the picture at 100%. The window holds it as a value (F_main::zoom), so
// measuring, calibration, the scale bar and the view agree on one zoom and
// nobody reads a number back out of a caption; the caption of L_zval
// ("250%") is rendered from it when it is set, and only then.

#include <QPointF>

class F_main;
class QLabel;

struct ViewMapping {
    double percent = 100; // the zoom, as the caption shows it

    // Picture pixels per shown pixel, in the single precision the measuring
    // arithmetic multiplies with.
    float factor() const { return static_cast<float>(100.0 / percent); }
    double to_picture(double shown) const { return shown * 100.0 / percent; }
    double to_shown(double picture) const { return picture * percent / 100.0; }
    QPointF to_picture(QPointF shown) const {
        return QPointF(to_picture(shown.x()), to_picture(shown.y()));
    }
};

// The zoom in force.
ViewMapping view_mapping(const F_main& f);
// Sets the zoom and writes its caption: "250%".
void set_view_zoom(F_main& f, int percent);
// The same where the zoom and its caption (L_zval) are held apart from the window.
void set_view_zoom(ViewMapping& zoom, QLabel* caption, int percent);
