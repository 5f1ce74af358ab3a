// SPDX-License-Identifier: MIT
// The calibration cycle, keyed on its step (form/calibration_step.h), which
// the caption of Command_set shows:
//
//   "set kelvo"        click: hide the cross-hair            -> "point start"
//   "point start"      press on P_in: first end of Line_scale -> "point end"
//   "point end"        moves drag the end, a press fixes it   -> "set scale as..."
//   "set scale as..."  click, or Enter in Text_scale: apply   -> "set kelvo"
//
// The presses and moves on P_in that place the reference line's ends are
// the pointer tool's (calibration_points.cpp); this file handles the button,
// the Enter key and the new scale.
#include "scale/calibration.h"

#include "form/calibration_step.h"
#include "form/check_value.h"
#include "form/measuring_door.h"
#include "form/numbers.h"
#include "form/scale_room.h"
#include "measure/segment_length.h"
#include "scale/scale_bar.h"
#include "scale/scale_limits.h"
#include "widgets/line_object.h"

#include <QLineEdit>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
float line_length(const LineObject& line) {
    return static_cast<float>(segment_length(line.X1() - line.X2(), line.Y1() - line.Y2()));
}

// The number at the start of the typed text, as typed: its digits say what
// was read better than any rounding of its value could.
QString typed_number(const QString& typed) {
    return typed.left(leading_number_end(typed)).trimmed();
}

// The note for a length typed with a decimal comma: the leading number stops
// at the comma, so "1,5" reads as 1. Empty when the text does not go on with
// a comma and a digit.
QString decimal_comma_note(const QString& typed) {
    const qsizetype end = leading_number_end(typed);
    if (end == 0 || end + 1 >= typed.size() || typed[end] != QLatin1Char(',') ||
        !typed[end + 1].isDigit())
        return QString();
    return QStringLiteral("read as %1: use a point for decimals").arg(typed_number(typed));
}

// A reference line's length in picture pixels, as every message writes it.
QString pixel_count(double picture_px) {
    return QStringLiteral("%1 px").arg(picture_px, 0, 'f', 1);
}

// Why the typed text gives no length; empty when it gives one.
QString refused_length(const QString& typed, double length) {
    if (typed.isEmpty()) return QStringLiteral("no length was typed");
    if (leading_number_end(typed) == 0)
        return QStringLiteral("\"%1\" does not begin with a number").arg(typed);
    if (length != 0) return QString();
    const QString comma = decimal_comma_note(typed);
    if (!comma.isEmpty()) return QStringLiteral("\"%1\" is %2").arg(typed, comma);
    return QStringLiteral("the length typed is 0");
}

// Sets unit_per_px from the typed length and Line_scale. A length that is
// not there or is 0, a line of no length, or a scale that could not be used
// leave it as it is; the message says which, or the scale now in force.
StatusMessage take_reference_length(const ScaleRoom& room) {
    const QString typed = room.Text_scale->text();
    const double length = leading_number(typed);
    if (const QString why = refused_length(typed, length); !why.isEmpty())
        return {QStringLiteral("Scale not changed: %1.").arg(why)};
    const float line_px = line_length(*room.Line_scale);
    if (line_px == 0)
        return {QStringLiteral("Scale not changed: the reference line has no length.")};
    const ViewMapping view = room.zoom;
    const double picture_px = view.to_picture(double(line_px));
    const double scale = calibrated_scale(length, line_px, view.percent);
    if (const std::optional<float> usable = usable_scale(scale)) {
        room.unit_per_px = *usable;
        QString done =
            QStringLiteral("Scale: %1 per pixel (from %2 = %3)")
                .arg(scale_number(room.unit_per_px), pixel_count(picture_px), typed.trimmed());
        if (const QString comma = decimal_comma_note(typed); !comma.isEmpty())
            done += QStringLiteral("; ") + comma;
        return {done, ReportOutcome::done};
    }
    return {QStringLiteral("Scale not changed: %1 over %2 gives a scale that is %3.")
                .arg(typed.trimmed(), pixel_count(picture_px), unusable_scale_reason(scale))};
}

StatusMessage confirm(const ScaleRoom& room) {
    const StatusMessage applied = apply_scale(room);
    draw_scale_bar(room);
    return applied;
}
} // namespace

QString scale_number(float value) {
    // The shortest text that reads back as this very scale: every result
    // shown can be had again from it (1806.2518, not 1806.25), and a scale
    // such as 0.05 still shows as typed, not as 0.0500000007. Plain digits
    // unless that would take a long run of zeros.
    char text[64];
    const auto [end, err] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    if (err != std::errc()) return QString::number(double(value), 'g', 9);
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);
    if (exponent < -6 || exponent > 16) return QString::fromLatin1(text, end - text);
    const auto fixed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return QString::fromLatin1(text, fixed.ptr - text);
}

void keep_calibration_line(const ScaleRoom& room, const ViewMapping& was, const ViewMapping& now) {
    const CalibrationStep step = calibration_step(room);
    if (step != CalibrationStep::point_end && step != CalibrationStep::set_scale_as) return;
    // Both ends stay on their picture pixels, so the reference length that
    // apply_scale divides by the zoom in force is the one the user marked.
    const double ratio = now.percent / was.percent;
    LineObject& line = *room.Line_scale;
    line.set_points(float(line.X1() * ratio), float(line.Y1() * ratio), float(line.X2() * ratio),
                    float(line.Y2() * ratio));
}

bool end_calibration(const ScaleRoom& room) {
    if (calibration_step(room) == CalibrationStep::idle) return false;
    leave_calibration(room);
    return true;
}

double calibrated_scale(double typed_length, float line_px, double zoom) {
    // line_px × 100 / zoom is the reference length in pixels of the picture at
    // 100%, so a line measured right after calibration shows the typed length
    // at any zoom.
    return typed_length / ViewMapping{zoom}.to_picture(double(line_px));
}

void Command_set_Click(const ScaleRoom& room) {
    // Every click first clears what the measuring mode shows; m_state stays.
    room.measuring.clear_shown_measurement();

    const CalibrationStep step = calibration_step(room);
    if (step == CalibrationStep::idle) {
        room.measuring.show_cross_hair(false);
        set_calibration_step(room, CalibrationStep::point_start);
    } else if (step == CalibrationStep::set_scale_as) {
        room.report(confirm(room));
    }
    // While an end point is awaited the click does nothing more: the cycle is
    // left only by completing it.
}

void Text_scale_KeyPress(const ScaleRoom& room, int& key_ascii) {
    if (key_ascii != 13) return;
    // Enter never reaches the box, whatever the step.
    key_ascii = 0;
    if (calibration_step(room) == CalibrationStep::set_scale_as) room.report(confirm(room));
}

StatusMessage apply_scale(const ScaleRoom& room) {
    const float old = room.unit_per_px;
    const StatusMessage taken = take_reference_length(room);
    room.measuring.convert_results(old, room.unit_per_px);
    leave_calibration(room);
    return taken;
}

void leave_calibration(const ScaleRoom& room) {
    room.Line_scale->hide();
    set_calibration_step(room, CalibrationStep::idle);

    // With "hide lines" ticked measuring stays switched off and untouched.
    if (room.measuring.lines_hidden()) return;
    // Presses measured again while the length was typed are dropped.
    room.measuring.restart_measuring();
    // The click that started the calibration hid the cross-hair.
    room.measuring.show_cross_hair(true);
}
