// SPDX-License-Identifier: MIT
#pragma once
// The chain of "multi lines" mode: line objects L_m[1..seg_count] and the
// totals of the completed elements.

#include <QtGlobal>

class F_main;

// The chain is indexed like a 16-bit control array: it holds at most this many elements.
inline constexpr qint32 chain_capacity = 32767;
bool chain_full(const F_main& f);

// Closes the live element at (x, y), adds it to the totals and opens a new
// live element there. `zoom` is the zoom factor the press computed. A full
// chain is left as it is.
void append_chain_point(F_main& f, float x, float y, float zoom);
void remove_chain_point(F_main& f);
void restart_chain(F_main& f, float x, float y);
void clear_segments(F_main& f);   // unloads every element; totals untouched
void reset_multi_line(F_main& f); // empty chain, totals 0, m_state = 3
void recompute_sum_x(F_main& f);
void recompute_sum_y(F_main& f);
void recompute_sum_d(F_main& f);
