// SPDX-License-Identifier: MIT
#pragma once
// The "Workbook" stream of a one-sheet BIFF8 workbook: globals, then the
// worksheet.

#include "xls/xls_cells.h"

#include <QByteArray>
#include <QString>

namespace xls {

// The largest stream the container may hold: compound files with 512-byte
// sectors must stay below 2 GB.
inline constexpr qint64 max_stream_size = 2'000'000'000;

// Returns an empty array and says why in *error when the cells do not fit.
QByteArray workbook_stream(const CellRows& rows, QString* error);

} // namespace xls
