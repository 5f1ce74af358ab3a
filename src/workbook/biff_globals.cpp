// SPDX-License-Identifier: MIT
#include "workbook/biff_globals.h"

#include "workbook/biff_record_types.h"

namespace xls {

namespace {

void write_write_access(BiffWriter& out) {
    // The user name of the last save, padded with blanks to a fixed size.
    constexpr int size = 112;
    const qsizetype at = out.begin_record(rec::write_access);
    out.u16(5);
    out.u8(0);
    out.raw("kelvo", 5);
    while (out.record_data_size(at) < size)
        out.u8(0x20);
    out.end_record(at);
}

void write_protection_and_window(BiffWriter& out) {
    out.record(rec::dsf, {0x00, 0x00});
    out.record(rec::rrtabid, {0x01, 0x00});
    out.record(rec::window_protect, {0x00, 0x00});
    out.record(rec::protect, {0x00, 0x00});
    out.record(rec::password, {0x00, 0x00});
    out.record(rec::prot4rev, {0x00, 0x00});
    out.record(rec::prot4revpass, {0x00, 0x00});
    const qsizetype at = out.begin_record(rec::window1);
    out.u16(0); // window position and size in twips
    out.u16(0);
    out.u16(0x3FCF);
    out.u16(0x2A4E);
    out.u16(0x0038); // scroll bars and sheet tabs shown
    out.u16(0);      // active sheet
    out.u16(0);      // first visible tab
    out.u16(1);      // selected sheets
    out.u16(600);    // tab bar width ratio
    out.end_record(at);
}

void write_calculation_settings(BiffWriter& out) {
    out.record(rec::backup, {0x00, 0x00});
    out.record(rec::hideobj, {0x00, 0x00});
    out.record(rec::date1904, {0x00, 0x00});
    out.record(rec::calc_precision, {0x01, 0x00});
    out.record(rec::refresh_all, {0x00, 0x00});
    out.record(rec::bookbool, {0x00, 0x00});
}

qsizetype write_boundsheet(BiffWriter& out) {
    const qsizetype at = out.begin_record(rec::boundsheet);
    const qsizetype sheet_pos_field = out.pos();
    out.u32(0); // patched once the sheet's position is known
    out.u8(0);  // visible
    out.u8(0);  // worksheet
    out.u8(6);
    out.u8(0);
    out.raw("Sheet1", 6);
    out.end_record(at);
    return sheet_pos_field;
}

} // namespace

qsizetype write_globals(BiffWriter& out, const StyleTable& styles, const SharedStrings& strings) {
    write_bof(out, substream_globals);
    out.record(rec::interface_hdr, {0xB0, 0x04});
    out.record(rec::mms, {0x00, 0x00});
    out.record(rec::interface_end, {});
    write_write_access(out);
    out.record(rec::codepage, {0xB0, 0x04}); // UTF-16
    write_protection_and_window(out);
    write_calculation_settings(out);
    styles.write_fonts(out);
    styles.write_xfs(out);
    out.record(rec::style, {0x00, 0x80, 0x00, 0xFF}); // built-in "Normal" on XF 0
    out.record(rec::useselfs, {0x01, 0x00});
    const qsizetype sheet_pos_field = write_boundsheet(out);
    out.record(rec::country, {0x01, 0x00, 0x01, 0x00});
    strings.write(out);
    out.record(rec::eof, {});
    return sheet_pos_field;
}

} // namespace xls
