// SPDX-License-Identifier: MIT
#pragma once
// The workbook globals substream: the constant records Excel expects, fonts
// and XFs, the one sheet's BOUNDSHEET, and the shared strings.

#include "workbook/biff_sst.h"
#include "workbook/biff_writer.h"
#include "workbook/xls_styles.h"

namespace xls {

// Writes the globals from BOF to EOF. Returns the stream position of the
// BOUNDSHEET field that must receive the position of the sheet's BOF.
qsizetype write_globals(BiffWriter& out, const StyleTable& styles, const SharedStrings& strings);

} // namespace xls
