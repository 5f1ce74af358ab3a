// SPDX-License-Identifier: MIT
#include "workbook/xls_styles.h"

#include "workbook/biff_record_types.h"
#include "workbook/xls_colours.h"

namespace xls {

namespace {
constexpr quint16 style_xf_count = 15;
constexpr quint16 format_general = 0;
constexpr quint16 format_two_decimals = 2; // built-in "0.00"
constexpr quint16 icv_red = 0x000A;
constexpr quint16 icv_black = 0x0008;

// No font index 4 exists in any BIFF version: the fifth FONT record is font 5.
quint16 font_index_of_record(std::size_t n) {
    return static_cast<quint16>(n < 4 ? n : n + 1);
}

void write_xf_tail(BiffWriter& out) {
    out.zeros(8);    // no borders, no fill pattern
    out.u16(0x20C0); // pattern colours: system foreground and background
}
} // namespace

StyleTable::StyleTable() {
    font_colours_ = {icv_automatic, icv_automatic, icv_automatic,
                     icv_automatic, icv_red,       icv_black};
    add_cell_xf(CellLook::text, icv_automatic);         // 15
    add_cell_xf(CellLook::number, icv_automatic);       // 16
    add_cell_xf(CellLook::number, icv_red);             // 17
    add_cell_xf(CellLook::number, icv_black);           // 18
    add_cell_xf(CellLook::wrapped_text, icv_automatic); // 19
}

std::size_t StyleTable::cache_slot(CellLook look, quint16 icv) {
    const std::size_t colour = icv == icv_automatic ? 0 : icv - icv_first_palette + 1;
    return static_cast<std::size_t>(look) * 57 + colour;
}

quint16 StyleTable::cell_xf(CellLook look, quint16 icv) {
    const quint16 known = xf_by_look_and_colour_[cache_slot(look, icv)];
    return known != 0 ? known : add_cell_xf(look, icv);
}

quint16 StyleTable::font_for(quint16 icv) {
    if (icv == icv_automatic) return 0;
    for (std::size_t n = 4; n < font_colours_.size(); ++n)
        if (font_colours_[n] == icv) return font_index_of_record(n);
    font_colours_.push_back(icv);
    return font_index_of_record(font_colours_.size() - 1);
}

quint16 StyleTable::add_cell_xf(CellLook look, quint16 icv) {
    const auto index = static_cast<quint16>(style_xf_count + cell_xfs_.size());
    cell_xfs_.push_back({font_for(icv),
                         look == CellLook::number ? format_two_decimals : format_general,
                         look == CellLook::wrapped_text});
    xf_by_look_and_colour_[cache_slot(look, icv)] = index;
    return index;
}

void StyleTable::write_fonts(BiffWriter& out) const {
    for (quint16 icv : font_colours_) {
        const qsizetype at = out.begin_record(rec::font);
        out.u16(200); // 10 pt in twips
        out.u16(0);   // not italic, struck out, outlined or shadowed
        out.u16(icv);
        out.u16(400); // normal weight
        out.u16(0);   // no super- or subscript
        out.u8(0);    // no underline
        out.u8(0);    // family
        out.u8(0);    // character set
        out.u8(0);
        out.u8(5);
        out.u8(0); // compressed name
        out.raw("Arial", 5);
        out.end_record(at);
    }
}

void StyleTable::write_xfs(BiffWriter& out) const {
    for (quint16 i = 0; i < style_xf_count; ++i) {
        const qsizetype at = out.begin_record(rec::xf);
        out.u16(0);      // font 0
        out.u16(0);      // General
        out.u16(0xFFF5); // locked style XF without a parent
        out.u8(0x20);    // aligned bottom
        out.u8(0);
        out.u8(0);
        // "Normal" carries every attribute; the other style XFs none of them.
        out.u8(i == 0 ? 0x00 : 0xF4);
        write_xf_tail(out);
        out.end_record(at);
    }
    for (const CellXf& xf : cell_xfs_) {
        const qsizetype at = out.begin_record(rec::xf);
        out.u16(xf.font);
        out.u16(xf.format);
        out.u16(0x0001); // locked cell XF, parent style XF 0
        out.u8(xf.wrap ? 0x28 : 0x20);
        out.u8(0);
        out.u8(0);
        // Flags for the attributes that differ from the parent style.
        quint8 used = 0;
        if (xf.format != format_general) used |= 0x04;
        if (xf.font != 0) used |= 0x08;
        if (xf.wrap) used |= 0x10;
        out.u8(used);
        write_xf_tail(out);
        out.end_record(at);
    }
}

} // namespace xls
