// SPDX-License-Identifier: MIT
#include "measure/chain.h"

#include "form/F_main.h"
#include "form/view_mapping.h"
#include "measure/pointer_input.h"
#include "measure/segment_length.h"

#include <cmath>
#include <cstddef>

// The chain lives in the line objects themselves: L_m[i] for i in
// 1..seg_count, with L_m.size() == seg_count + 1 at all times. Totals are kept
// exactly as they are shown: |dx| and |dy| terms in single precision, the
// length term in double precision, each total stored as a single-precision
// float, so an undo that recomputes them lands on the very same values.

namespace {

float add_x(float sum, const LineObject& e, float u, float z) {
    return std::abs(e.X1() - e.X2()) * u * z + sum;
}
float add_y(float sum, const LineObject& e, float u, float z) {
    return std::abs(e.Y1() - e.Y2()) * u * z + sum;
}
float add_d(float sum, const LineObject& e, float u, float z) {
    const double length = segment_length(e.X1() - e.X2(), e.Y1() - e.Y2());
    return static_cast<float>(static_cast<double>(u) * length * static_cast<double>(z) + sum);
}

// Sum of one term over the completed elements 1..seg_count-1.
template <class Term> float sum_completed(F_main& f, Term term) {
    const float u = f.unit_per_px;
    const float z = view_mapping(f).factor();
    float sum = 0;
    for (qint32 i = 1; i < f.seg_count; ++i)
        sum = term(sum, *f.L_m[static_cast<std::size_t>(i)], u, z);
    return sum;
}

// A new element has the template's pen, starts as a point at (x, y) and is shown.
void load_element(F_main& f, float x, float y) {
    // Room for the whole chain up front: appending then never reallocates.
    if (f.L_m.capacity() < static_cast<std::size_t>(chain_capacity) + 1)
        f.L_m.reserve(static_cast<std::size_t>(chain_capacity) + 1);
    LineObject* element = f.P_in->create_line_like(*f.L_m[0]);
    element->set_points(x, y, x, y);
    element->show();
    f.L_m.push_back(element);
}

void unload_last(F_main& f) {
    f.P_in->destroy_line(f.L_m.back());
    f.L_m.pop_back();
}

} // namespace

bool chain_full(const F_main& f) {
    return f.seg_count >= chain_capacity;
}

void append_chain_point(F_main& f, float x, float y, float zoom) {
    if (chain_full(f)) return;
    if (f.seg_count >= 1) {
        LineObject& live = *f.L_m[static_cast<std::size_t>(f.seg_count)];
        live.set_X2(x);
        live.set_Y2(y);
        const float u = f.unit_per_px;
        f.sum_d = add_d(f.sum_d, live, u, zoom);
        f.sum_x = add_x(f.sum_x, live, u, zoom);
        f.sum_y = add_y(f.sum_y, live, u, zoom);
    } else {
        f.sum_d = f.sum_x = f.sum_y = 0;
    }
    f.seg_count += 1;
    load_element(f, x, y);
}

void remove_chain_point(F_main& f) {
    if (f.seg_count >= 2) {
        unload_last(f);
        f.seg_count -= 1;
        // The new last element is live again; its end follows the next move.
        recompute_sum_x(f);
        recompute_sum_y(f);
        recompute_sum_d(f);
    } else if (f.seg_count == 1) {
        unload_last(f);
        f.seg_count = 0;
        f.sum_d = f.sum_x = f.sum_y = 0;
    }
}

void restart_chain(F_main& f, float x, float y) {
    clear_segments(f);
    reset_multi_line(f);
    f.seg_count = 1;
    load_element(f, x, y);
}

void clear_segments(F_main& f) {
    while (f.L_m.size() > 1)
        unload_last(f);
    f.seg_count = 0;
}

void reset_multi_line(F_main& f) {
    f.seg_count = 0;
    f.sum_x = f.sum_y = f.sum_d = 0;
    f.m_state = MeasuringState::chain_open;
}

void recompute_sum_x(F_main& f) {
    f.sum_x = sum_completed(f, add_x);
}
void recompute_sum_y(F_main& f) {
    f.sum_y = sum_completed(f, add_y);
}
void recompute_sum_d(F_main& f) {
    f.sum_d = sum_completed(f, add_d);
}
