// SPDX-License-Identifier: MIT
#pragma once
// A second opinion on a workbook read back: libfreexl (Debian's reader of the
// format) reads the same file, and every cell of its grid must hold what the
// program's own reading found there, value and type. It also tells dates and
// times from plain numbers by their formats, which kelvo cannot write back.

#include "workbook/spreadsheet.h"

namespace xls {

// Why libfreexl reads the workbook at `path` otherwise than `sheet`; empty
// when it reads every cell alike.
// `progress` hears how far it got.
QString freexl_disagreement(const QString& path, const spreadsheet::StoredSheet& sheet,
                            const spreadsheet::ReadProgress& progress = {});

} // namespace xls
