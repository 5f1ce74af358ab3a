// SPDX-License-Identifier: MIT
#pragma once
// A workbook of one worksheet, kept in memory and encoded as a whole into an
// Excel 97-2003 file (BIFF8 records in a compound file). A BIFF8 file cannot
// be appended to, so every save encodes everything again.

#include "workbook/biff_workbook_stream.h"
#include "workbook/spreadsheet.h"
#include "workbook/xls_cells.h"

#include <QByteArray>

namespace xls {

class Workbook final : public SpreadsheetSheet {
  public:
    Workbook();

    spreadsheet::CellTyping set_cell(int row, int col, const QString& typed_text) override;
    QString set_font_colour(int row, int col, quint32 colour) override;
    QString put_cell(int row, int col, const spreadsheet::CellValue& value) override;

    // The complete file; no bytes and the reason when the workbook is too
    // large for the format.
    EncodedBytes encode() const;
    // The cells as typed, for writers of other formats.
    const CellRows& rows() const { return rows_; }

  private:
    Cell* cell_at(int row, int col); // nullptr with error_ saying why
    CellRows rows_;
    QString error_;
};

} // namespace xls
