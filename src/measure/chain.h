// SPDX-License-Identifier: MIT
#pragma once
// The chain of "multi lines" mode: line objects L_m[1..seg_count] and the
// totals of the completed elements.

#include <QtGlobal>

struct MeasureRoom;

// The chain is indexed like a 16-bit control array: it holds at most this many elements.
inline constexpr qint32 chain_capacity = 32767;
bool chain_full(const MeasureRoom& room);

// Closes the live element at (x, y), adds it to the totals and opens a new
// live element there. `zoom` is the zoom factor the press computed. A full
// chain is left as it is.
void append_chain_point(const MeasureRoom& room, float x, float y, float zoom);
void remove_chain_point(const MeasureRoom& room);
void restart_chain(const MeasureRoom& room, float x, float y);
void clear_segments(const MeasureRoom& room);   // unloads every element; totals untouched
void reset_multi_line(const MeasureRoom& room); // empty chain, totals 0, m_state = 3
void recompute_sum_x(const MeasureRoom& room);
void recompute_sum_y(const MeasureRoom& room);
void recompute_sum_d(const MeasureRoom& room);
