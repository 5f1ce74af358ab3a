// SPDX-License-Identifier: MIT
#include "measure/chain.h"

#include "form/measure_room.h"
#include "measure/pointer_input.h"
#include "measure/segment_length.h"
#include "widgets/line_object.h"
#include "widgets/picture_box.h"

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
template <class Term> float sum_completed(const MeasureRoom& room, Term term) {
    const float u = room.unit_per_px;
    const float z = room.zoom.factor();
    float sum = 0;
    for (qint32 i = 1; i < room.seg_count; ++i)
        sum = term(sum, *room.L_m[static_cast<std::size_t>(i)], u, z);
    return sum;
}

// A new element has the template's pen, starts as a point at (x, y) and is shown.
void load_element(const MeasureRoom& room, float x, float y) {
    // Room for the whole chain up front: appending then never reallocates.
    if (room.L_m.capacity() < static_cast<std::size_t>(chain_capacity) + 1)
        room.L_m.reserve(static_cast<std::size_t>(chain_capacity) + 1);
    LineObject* element = room.P_in->create_line_like(*room.L_m[0]);
    element->set_points(x, y, x, y);
    element->show();
    room.L_m.push_back(element);
}

void unload_last(const MeasureRoom& room) {
    room.P_in->destroy_line(room.L_m.back());
    room.L_m.pop_back();
}

} // namespace

bool chain_full(const MeasureRoom& room) {
    return room.seg_count >= chain_capacity;
}

void append_chain_point(const MeasureRoom& room, float x, float y, float zoom) {
    if (chain_full(room)) return;
    if (room.seg_count >= 1) {
        LineObject& live = *room.L_m[static_cast<std::size_t>(room.seg_count)];
        live.set_X2(x);
        live.set_Y2(y);
        const float u = room.unit_per_px;
        room.sum_d = add_d(room.sum_d, live, u, zoom);
        room.sum_x = add_x(room.sum_x, live, u, zoom);
        room.sum_y = add_y(room.sum_y, live, u, zoom);
    } else {
        room.sum_d = room.sum_x = room.sum_y = 0;
    }
    room.seg_count += 1;
    load_element(room, x, y);
}

void remove_chain_point(const MeasureRoom& room) {
    if (room.seg_count >= 2) {
        unload_last(room);
        room.seg_count -= 1;
        // The new last element is live again; its end follows the next move.
        recompute_sum_x(room);
        recompute_sum_y(room);
        recompute_sum_d(room);
    } else if (room.seg_count == 1) {
        unload_last(room);
        room.seg_count = 0;
        room.sum_d = room.sum_x = room.sum_y = 0;
    }
}

void restart_chain(const MeasureRoom& room, float x, float y) {
    clear_segments(room);
    reset_multi_line(room);
    room.seg_count = 1;
    load_element(room, x, y);
}

void clear_segments(const MeasureRoom& room) {
    while (room.L_m.size() > 1)
        unload_last(room);
    room.seg_count = 0;
}

void reset_multi_line(const MeasureRoom& room) {
    room.seg_count = 0;
    room.sum_x = room.sum_y = room.sum_d = 0;
    room.m_state = MeasuringState::chain_open;
}

void recompute_sum_x(const MeasureRoom& room) {
    room.sum_x = sum_completed(room, add_x);
}
void recompute_sum_y(const MeasureRoom& room) {
    room.sum_y = sum_completed(room, add_y);
}
void recompute_sum_d(const MeasureRoom& room) {
    room.sum_d = sum_completed(room, add_d);
}
