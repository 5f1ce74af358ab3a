// SPDX-License-Identifier: MIT
#pragma once
// The "Workbook" stream of a one-sheet BIFF8 workbook: globals, then the
// worksheet.

#include "workbook/xls_cells.h"

#include <QByteArray>
#include <QString>

namespace xls {

// The largest stream the container may hold: compound files with 512-byte
// sectors must stay below 2 GB.
inline constexpr qint64 max_stream_size = 2'000'000'000;

struct EncodedBytes {
    QByteArray bytes;
    QString error; // why they could not be made; empty on success
};
// No bytes and the reason when the cells do not fit.
EncodedBytes workbook_stream(const CellRows& rows);

} // namespace xls
