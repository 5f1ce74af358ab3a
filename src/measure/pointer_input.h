#pragma once
// Pointer input on the picture area: the measuring state machine.

#include <QtGlobal>

class F_main;

// The codes of m_state. No other code occurs.
namespace measuring {
inline constexpr quint8 no_start = 0;     // single line, no start point
inline constexpr quint8 start_fixed = 1;  // single line, its end follows the pointer
inline constexpr quint8 line_done = 2;    // single line, both ends fixed
inline constexpr quint8 chain_open = 3;   // chain, its last element follows the pointer
inline constexpr quint8 chain_closed = 5; // chain ended by a double-click
} // namespace measuring

void P_in_MouseDown(F_main& f, int button, float x, float y);
void P_in_MouseMove(F_main& f, float x, float y);
void P_in_DblClick(F_main& f);

// 100 divided by the zoom caption's number: shown pixels to picture pixels.
float zoom_factor(const F_main& f);
