// SPDX-License-Identifier: MIT
#pragma once
// Colours are kept as the program's own 32-bit values, 0x00BBGGRR, and turned
// into QColor only when painted. A value with the top bit set names a system
// colour by its index (0x80000008 is the window text colour); the red mark of
// a result is the exact value 255.

#include <QColor>
#include <QtGlobal>

using Colour = quint32;

namespace colours {
inline constexpr Colour red = 255;
inline constexpr Colour black = 0;
inline constexpr Colour system_flag = 0x80000000u;
inline constexpr Colour window_background = 0x80000005u;
inline constexpr Colour window_text = 0x80000008u;
inline constexpr Colour button_face = 0x8000000Fu;
inline constexpr Colour button_text = 0x80000012u;
} // namespace colours

constexpr Colour rgb_colour(int r, int g, int b) {
    return static_cast<Colour>((b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF));
}
inline bool is_system_colour(Colour c) {
    return (c & colours::system_flag) != 0;
}

// System colours come from the application's palette, so they follow the desktop theme.
QColor to_qcolor(Colour c);
