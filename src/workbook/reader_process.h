// SPDX-License-Identifier: MIT
#pragma once
// Reading another writer's workbook in a process of its own: the reader
// program (kelvo-read-workbook, installed in lib/kelvo/ beside the program's
// bin/) is started with posix_spawn, gets the open file as its standard input
// and answers on its standard output (sheet_wire.h). It limits its own address
// space first thing; the window waits for it at most reader_time_ms, then
// kills it. A file larger than any workbook kelvo writes is refused before
// any reader sees it.

#include "workbook/spreadsheet.h"

namespace xls {

inline constexpr qint64 max_workbook_bytes = 64 << 20;
inline constexpr int reader_time_ms = 2000;
inline constexpr qint64 reader_memory_bytes = qint64(512) << 20;
inline constexpr char reader_name[] = "kelvo-read-workbook";

// The first sheet of the .xls workbook at `path`, read by the reader program;
// `progress` hears how far it got while the window waits (every 50 ms).
spreadsheet::SheetReading read_in_reader_process(const QString& path,
                                                 const spreadsheet::ReadProgress& progress = {});

} // namespace xls
