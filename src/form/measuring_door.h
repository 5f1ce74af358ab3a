// SPDX-License-Identifier: MIT
#pragma once
// What measuring lets the subsystems above it ask, without its elements:
// the calibration clears and restarts measuring and converts the results to
// a new scale; the view restarts it after a zoom step or for a new picture;
// the spreadsheet export reads the results and marks a row written. Measuring installs it
// (F_main::measuring_door) when it is wired.

#include "form/results.h"

#include <array>

class MeasuringDoor {
  public:
    virtual ~MeasuringDoor() = default;
    // Clears what the measuring mode shows (the single line's markers, the
    // chain); the measuring state stays.
    virtual void clear_shown_measurement() = 0;
    // Clears the measurement and starts the mode's own afresh (nothing while
    // "hide lines" is ticked).
    virtual void restart_measuring() = 0;
    virtual void show_cross_hair(bool shown) = 0;
    // True while "hide lines" has switched measuring off.
    virtual bool lines_hidden() const = 0;
    // The shown results for a new scale (measure/result_panel.h).
    virtual void convert_results(float old_scale, float new_scale) = 0;
    // X, Y and D as shown, with their marks.
    virtual std::array<ShownResult, 3> results() const = 0;
    // The cross-hair turns green: the result's row is saved.
    virtual void mark_row_saved() = 0;
    // The cross-hair turns grey: measuring, nothing of it saved (a new picture).
    virtual void mark_measuring() = 0;
};
