// SPDX-License-Identifier: MIT
#pragma once
// How the reader program hands a sheet read back (or the reason it could not
// be) to the window through a pipe: compact, each text once however many cells
// share it, and checked whole on arrival. The window takes nothing from the
// answer on trust: every count is met by the bytes that follow it, every cell
// lies inside a sheet and after the one before, and nothing is allocated
// beyond what the bytes received hold.

#include "workbook/spreadsheet.h"

#include <QByteArray>

namespace spreadsheet {

// The most the window reads from a reader: more than kelvo's largest sheet
// (65,536 rows of five cells with long file names) needs.
inline constexpr qsizetype max_answer_bytes = 64 << 20;

QByteArray encode_reading(const spreadsheet::SheetReading& reading);
// The reading, or the reason the answer cannot be used.
spreadsheet::SheetReading decode_reading(const QByteArray& answer);

} // namespace spreadsheet
