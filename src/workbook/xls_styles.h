// SPDX-License-Identifier: MIT
#pragma once
// Fonts and cell formats (XF records) of the workbook. The table starts with
// the layout Excel itself writes: four default fonts, red and black, fifteen
// style XFs, then cell XFs 15-19 for text, numbers shown as "0.00" in
// automatic, red and black, and wrapping text. A cell that needs another
// combination (a number in green, red text) gets a font and an XF added on
// first use.

#include "workbook/biff_writer.h"

#include <array>
#include <vector>

namespace xls {

enum class CellLook : quint8 { text, wrapped_text, number };

class StyleTable {
  public:
    StyleTable();

    // The XF index for a cell that looks like this, in this font colour (icv).
    quint16 cell_xf(CellLook look, quint16 icv);

    void write_fonts(BiffWriter& out) const;
    void write_xfs(BiffWriter& out) const;

  private:
    struct CellXf {
        quint16 font;
        quint16 format;
        bool wrap;
    };
    quint16 font_for(quint16 icv);
    quint16 add_cell_xf(CellLook look, quint16 icv);
    static std::size_t cache_slot(CellLook look, quint16 icv);

    std::vector<quint16> font_colours_;                   // one per FONT record, in order
    std::vector<CellXf> cell_xfs_;                        // XF 15 onwards
    std::array<quint16, 3 * 57> xf_by_look_and_colour_{}; // 0: not made yet
};

} // namespace xls
