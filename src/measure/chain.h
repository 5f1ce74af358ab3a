#pragma once
// The chain of "multi lines" mode: line objects L_m[1..seg_count] and the
// totals of the completed elements.

class F_main;

void append_chain_point(F_main& f, float x, float y);
void remove_chain_point(F_main& f);
void restart_chain(F_main& f, float x, float y);
void clear_segments(F_main& f);   // unloads every element; totals untouched
void reset_multi_line(F_main& f); // empty chain, totals 0, m_state = 3
void recompute_sum_x(F_main& f);
void recompute_sum_y(F_main& f);
void recompute_sum_d(F_main& f);
