// SPDX-License-Identifier: MIT
#pragma once
// Font colours in a BIFF8 workbook are indices (icv) into a 56-colour
// palette; the workbook writes no palette of its own, so the default one
// applies. The program gives colours as 0x00BBGGRR values.

#include <QtGlobal>

namespace xls {

// The font's automatic colour: the system's window text colour.
inline constexpr quint16 icv_automatic = 0x7FFF;
inline constexpr quint16 icv_first_palette = 8;
inline constexpr quint16 icv_last_palette = 63;

// The icv for a program colour: a system colour (top bit set, such as the
// window text colour 0x80000008) is automatic; any other value is read as
// 0x00BBGGRR (the top byte ignored) and mapped to the palette entry nearest
// to it, measured as the squared distance between the two points in RGB
// space, the lower index winning a tie. Pure red is icv 10, black icv 8.
quint16 font_colour_index(quint32 colour);
// The colour of a palette entry (icv 8..63) as 0xRRGGBB.
quint32 palette_rgb(quint16 icv);
// The other way: the program colour of a font's icv. Automatic, and any icv
// outside the palette, is the window text colour; icv 0-7 are the palette's
// first eight colours.
quint32 font_colour_of(quint16 icv);

} // namespace xls
