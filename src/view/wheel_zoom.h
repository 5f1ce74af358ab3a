// SPDX-License-Identifier: MIT
#pragma once
// Ctrl+wheel zoom. Each notch is a step "in" or "out" under the buttons'
// rules (range ends, zoom lock, a picture open), taken from the zoom the
// notches before it reached; the picture is shown once, at the zoom the burst
// ends at, when no notch has come for a moment. Ten quick notches on a large
// photo therefore decode it once, not ten times, and the picture point under
// the pointer stays under it.

#include "form/view_room.h"

#include <QObject>
#include <QPointF>
#include <QTimer>

class WheelZoom : public QObject {
    Q_OBJECT
  public:
    // How long the wheel must rest before the burst is shown.
    static constexpr int settle_ms = 60;

    explicit WheelZoom(const ViewRoom& room);

    // One notch: +10 away from the user, -10 towards; `pointer` in the
    // viewport's pixels.
    void notch(int points, QPointF pointer);
    // True while notches wait to be shown.
    bool pending() const { return timer_.isActive(); }

  private:
    void show_burst();

    ViewRoom room_;
    QTimer timer_;
    int target_ = 0; // the zoom the notches so far lead to
    QPointF pointer_;
};
