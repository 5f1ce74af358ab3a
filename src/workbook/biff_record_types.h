// SPDX-License-Identifier: MIT
#pragma once
// BIFF8 record type numbers, for the workbook writer and its reader.

#include <QtGlobal>

namespace xls::rec {
inline constexpr quint16 bof = 0x0809;
inline constexpr quint16 eof = 0x000A;
inline constexpr quint16 interface_hdr = 0x00E1;
inline constexpr quint16 mms = 0x00C1;
inline constexpr quint16 interface_end = 0x00E2;
inline constexpr quint16 write_access = 0x005C;
inline constexpr quint16 codepage = 0x0042;
inline constexpr quint16 dsf = 0x0161;
inline constexpr quint16 rrtabid = 0x013D;
inline constexpr quint16 window_protect = 0x0019;
inline constexpr quint16 protect = 0x0012;
inline constexpr quint16 password = 0x0013;
inline constexpr quint16 prot4rev = 0x01AF;
inline constexpr quint16 prot4revpass = 0x01BC;
inline constexpr quint16 window1 = 0x003D;
inline constexpr quint16 backup = 0x0040;
inline constexpr quint16 hideobj = 0x008D;
inline constexpr quint16 date1904 = 0x0022;
inline constexpr quint16 calc_precision = 0x000E;
inline constexpr quint16 refresh_all = 0x01B7;
inline constexpr quint16 bookbool = 0x00DA;
inline constexpr quint16 font = 0x0031;
inline constexpr quint16 xf = 0x00E0;
inline constexpr quint16 style = 0x0293;
inline constexpr quint16 useselfs = 0x0160;
inline constexpr quint16 boundsheet = 0x0085;
inline constexpr quint16 country = 0x008C;
inline constexpr quint16 sst = 0x00FC;
inline constexpr quint16 continue_ = 0x003C;
inline constexpr quint16 extsst = 0x00FF;

inline constexpr quint16 index = 0x020B;
inline constexpr quint16 calc_mode = 0x000D;
inline constexpr quint16 calc_count = 0x000C;
inline constexpr quint16 calc_refmode = 0x000F;
inline constexpr quint16 calc_iter = 0x0011;
inline constexpr quint16 calc_delta = 0x0010;
inline constexpr quint16 calc_save_recalc = 0x005F;
inline constexpr quint16 print_rowcol = 0x002A;
inline constexpr quint16 print_grid = 0x002B;
inline constexpr quint16 gridset = 0x0082;
inline constexpr quint16 guts = 0x0080;
inline constexpr quint16 default_row_height = 0x0225;
inline constexpr quint16 wsbool = 0x0081;
inline constexpr quint16 header = 0x0014;
inline constexpr quint16 footer = 0x0015;
inline constexpr quint16 hcenter = 0x0083;
inline constexpr quint16 vcenter = 0x0084;
inline constexpr quint16 setup = 0x00A1;
inline constexpr quint16 default_col_width = 0x0055;
inline constexpr quint16 colinfo = 0x007D;
inline constexpr quint16 dimensions = 0x0200;
inline constexpr quint16 row = 0x0208;
inline constexpr quint16 labelsst = 0x00FD;
inline constexpr quint16 number = 0x0203;
inline constexpr quint16 dbcell = 0x00D7;
inline constexpr quint16 window2 = 0x023E;
} // namespace xls::rec
