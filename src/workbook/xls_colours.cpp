// SPDX-License-Identifier: MIT
#include "workbook/xls_colours.h"

#include <array>

namespace xls {

namespace {
// The BIFF8 default palette, icv 8..63, as 0xRRGGBB.
constexpr std::array<quint32, 56> default_palette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

int squared_distance(quint32 rgb, int r, int g, int b) {
    const int dr = static_cast<int>((rgb >> 16) & 0xFF) - r;
    const int dg = static_cast<int>((rgb >> 8) & 0xFF) - g;
    const int db = static_cast<int>(rgb & 0xFF) - b;
    return dr * dr + dg * dg + db * db;
}
} // namespace

quint16 font_colour_index(quint32 colour) {
    if (colour & 0x80000000u) return icv_automatic;
    const int r = static_cast<int>(colour & 0xFF);
    const int g = static_cast<int>((colour >> 8) & 0xFF);
    const int b = static_cast<int>((colour >> 16) & 0xFF);
    std::size_t best = 0;
    int best_distance = squared_distance(default_palette[0], r, g, b);
    for (std::size_t i = 1; i < default_palette.size() && best_distance > 0; ++i) {
        const int d = squared_distance(default_palette[i], r, g, b);
        if (d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return static_cast<quint16>(icv_first_palette + best);
}

quint32 palette_rgb(quint16 icv) {
    return default_palette.at(icv - icv_first_palette);
}

quint32 font_colour_of(quint16 icv) {
    if (icv < icv_first_palette) icv = static_cast<quint16>(icv + icv_first_palette);
    if (icv > icv_last_palette) return 0x80000008u; // the window text colour
    const quint32 rgb = default_palette[icv - icv_first_palette];
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

} // namespace xls
