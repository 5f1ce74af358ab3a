// SPDX-License-Identifier: MIT
#include "workbook/biff_worksheet.h"

#include "workbook/biff_record_types.h"

#include <algorithm>

namespace xls {

namespace {

constexpr int rows_per_block = 32;
constexpr quint16 row_height = 255; // twips, the default height
constexpr quint16 default_cell_xf = 15;

bool has_value(const Cell& cell) {
    return cell.kind != Cell::Kind::empty;
}

// Columns [first, last + 1) holding values, or an empty span.
struct ColumnSpan {
    quint16 first = 0;
    quint16 end = 0;
    bool empty() const { return end == 0; }
};

ColumnSpan value_columns(const CellRow& row) {
    ColumnSpan span;
    for (const Cell& cell : row) {
        if (!has_value(cell)) continue;
        if (span.empty()) span.first = cell.col;
        span.end = static_cast<quint16>(cell.col + 1);
    }
    return span;
}

struct SheetExtent {
    std::vector<int> rows_with_values;
    quint16 column_end = 0;
    int block_count = 0;
};

SheetExtent measure(const CellRows& rows) {
    SheetExtent extent;
    int last_block = -1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const ColumnSpan span = value_columns(rows[r]);
        if (span.empty()) continue;
        extent.rows_with_values.push_back(static_cast<int>(r));
        extent.column_end = std::max(extent.column_end, span.end);
        const int block = static_cast<int>(r) / rows_per_block;
        if (block != last_block) ++extent.block_count;
        last_block = block;
    }
    return extent;
}

void write_settings(BiffWriter& out) {
    out.record(rec::calc_mode, {0x01, 0x00});
    out.record(rec::calc_count, {0x64, 0x00});
    out.record(rec::calc_refmode, {0x01, 0x00});
    out.record(rec::calc_iter, {0x00, 0x00});
    out.record(rec::calc_delta, {0xFC, 0xA9, 0xF1, 0xD2, 0x4D, 0x62, 0x50, 0x3F}); // 0.001
    out.record(rec::calc_save_recalc, {0x01, 0x00});
    out.record(rec::print_rowcol, {0x00, 0x00});
    out.record(rec::print_grid, {0x00, 0x00});
    out.record(rec::gridset, {0x01, 0x00});
    out.record(rec::guts, {0, 0, 0, 0, 0, 0, 0, 0});
    out.record(rec::default_row_height, {0x00, 0x00, 0xFF, 0x00});
    out.record(rec::wsbool, {0xC1, 0x04});
    out.record(rec::header, {});
    out.record(rec::footer, {});
    out.record(rec::hcenter, {0x00, 0x00});
    out.record(rec::vcenter, {0x00, 0x00});
    const qsizetype at = out.begin_record(rec::setup);
    out.u16(0);      // paper size: printer default
    out.u16(100);    // scale
    out.u16(1);      // first page number
    out.u16(1);      // fit to one page wide
    out.u16(1);      // and one page high
    out.u16(0x0002); // portrait
    out.u16(600);    // print resolution
    out.u16(600);
    out.f64(0.5); // header and footer margins, inches
    out.f64(0.5);
    out.u16(1); // copies
    out.end_record(at);
}

// The first column holds a file path and the fifth a free comment in the
// program's sheets; both get room for 40 characters.
void write_column_widths(BiffWriter& out) {
    for (quint16 col : {0, 4}) {
        const qsizetype at = out.begin_record(rec::colinfo);
        out.u16(col);
        out.u16(col);
        out.u16(40 * 256);
        out.u16(default_cell_xf);
        out.u16(0);
        out.u16(0);
        out.end_record(at);
    }
}

void write_row_record(BiffWriter& out, int row, ColumnSpan span) {
    const qsizetype at = out.begin_record(rec::row);
    out.u16(static_cast<quint16>(row));
    out.u16(span.first);
    out.u16(span.end);
    out.u16(row_height);
    out.u16(0);
    out.u16(0);
    out.u32(0x000F0100); // default XF 15; bit 8 is always set
    out.end_record(at);
}

void write_cell_record(BiffWriter& out, int row, const Cell& cell, CellFormatting formatting) {
    const bool text = cell.kind == Cell::Kind::text;
    const qsizetype at = out.begin_record(text ? rec::labelsst : rec::number);
    out.u16(static_cast<quint16>(row));
    out.u16(cell.col);
    out.u16(formatting.xf);
    if (text)
        out.u32(formatting.string);
    else
        out.f64(cell.number);
    out.end_record(at);
}

class CellBlocks {
  public:
    CellBlocks(BiffWriter& out, const CellRows& rows, const std::vector<CellFormatting>& formatting)
        : out_(out), rows_(rows), formatting_(formatting) {}

    // Writes the rows [begin, end) of rows_with_values as one block and
    // returns the position of its DBCELL.
    qsizetype write_block(const int* begin, const int* end) {
        const qsizetype first_row_pos = out_.pos();
        for (const int* r = begin; r != end; ++r)
            write_row_record(out_, *r, value_columns(rows_[*r]));
        std::vector<qsizetype> first_cell_pos;
        for (const int* r = begin; r != end; ++r) {
            first_cell_pos.push_back(out_.pos());
            for (const Cell& cell : rows_[*r])
                if (has_value(cell)) write_cell_record(out_, *r, cell, formatting_[next_++]);
        }
        const qsizetype dbcell_pos = out_.pos();
        const qsizetype at = out_.begin_record(rec::dbcell);
        out_.u32(static_cast<quint32>(dbcell_pos - first_row_pos));
        // The first row's cells are found from the end of the first ROW
        // record, each later row's from the previous row's first cell.
        qsizetype from = first_row_pos + 20;
        for (qsizetype pos : first_cell_pos) {
            out_.u16(static_cast<quint16>(pos - from));
            from = pos;
        }
        out_.end_record(at);
        return dbcell_pos;
    }

  private:
    BiffWriter& out_;
    const CellRows& rows_;
    const std::vector<CellFormatting>& formatting_;
    std::size_t next_ = 0;
};

// Where INDEX wants the positions written later: DEFCOLWIDTH, then one
// DBCELL per block.
struct IndexFields {
    qsizetype col_width;
    qsizetype dbcells;
};

IndexFields write_index(BiffWriter& out, quint32 row_end, int block_count) {
    const qsizetype at = out.begin_record(rec::index);
    out.u32(0);
    out.u32(0); // first row
    out.u32(row_end);
    IndexFields fields{out.pos(), out.pos() + 4};
    out.zeros(4 + 4 * block_count);
    out.end_record(at);
    return fields;
}

void write_dimensions(BiffWriter& out, quint32 row_end, quint16 column_end) {
    const qsizetype at = out.begin_record(rec::dimensions);
    out.u32(0);
    out.u32(row_end);
    out.u16(0);
    out.u16(column_end);
    out.u16(0);
    out.end_record(at);
}

void write_window(BiffWriter& out) {
    const qsizetype at = out.begin_record(rec::window2);
    out.u16(0x06B6); // gridlines, headings, zeros, outline; selected and active
    out.u16(0);      // top row
    out.u16(0);      // left column
    out.u16(0x0040); // heading colour: automatic
    out.u16(0);
    out.u16(0); // zoom: default
    out.u16(0);
    out.u32(0);
    out.end_record(at);
}

} // namespace

void write_worksheet(BiffWriter& out, const CellRows& rows,
                     const std::vector<CellFormatting>& formatting) {
    const SheetExtent extent = measure(rows);
    const quint32 row_end =
        extent.rows_with_values.empty() ? 0 : extent.rows_with_values.back() + 1;

    write_bof(out, substream_worksheet);
    const IndexFields index = write_index(out, row_end, extent.block_count);
    write_settings(out);
    out.patch_u32(index.col_width, static_cast<quint32>(out.pos()));
    out.record(rec::default_col_width, {0x08, 0x00});
    write_column_widths(out);
    write_dimensions(out, row_end, extent.column_end);

    CellBlocks blocks(out, rows, formatting);
    const int* row = extent.rows_with_values.data();
    const int* const rows_end = row + extent.rows_with_values.size();
    for (int b = 0; row != rows_end; ++b) {
        const int block = *row / rows_per_block;
        const int* block_end = row;
        while (block_end != rows_end && *block_end / rows_per_block == block)
            ++block_end;
        const qsizetype dbcell = blocks.write_block(row, block_end);
        out.patch_u32(index.dbcells + 4 * b, static_cast<quint32>(dbcell));
        row = block_end;
    }

    write_window(out);
    out.record(rec::eof, {});
}

} // namespace xls
