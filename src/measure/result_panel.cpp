// SPDX-License-Identifier: MIT
#include "measure/result_panel.h"

#include "form/measure_room.h"
#include "form/numbers.h"
#include "form/results.h"
#include "widgets/click_label.h"
#include "widgets/line_object.h"

void show_results(const MeasureRoom& room, float x, float y, double d) {
    set_result_texts(room, format_2dp(x), format_2dp(y), format_2dp(d));
}

void toggle_result_mark(ClickLabel* value_label, ClickLabel* caption_label) {
    // A cleared mark is plain black (0), not the design's system colour: the
    // spreadsheet export writes this colour into the cell as it stands.
    const Colour mark = value_label->fore_colour() == colours::red ? colours::black : colours::red;
    value_label->set_fore_colour(mark);
    caption_label->set_fore_colour(value_label->fore_colour());
}

void convert_results(const MeasureRoom& room, float old_scale, float new_scale) {
    // The shown two-decimal texts are converted, not unrounded values: the
    // labels are the only place the results are kept.
    const auto converted = [&](const ShownResult& shown) {
        return format_2dp(leading_number(shown.text) * double(new_scale) / double(old_scale));
    };
    const auto [x, y, d] = shown_results(room);
    set_result_texts(room, converted(x), converted(y), converted(d));
}
