#pragma once
// The program's spreadsheet application: it keeps the workbook in memory and
// saves it as an Excel 97-2003 (.xls) file, written atomically.

#include "xls/spreadsheet.h"
#include "xls/xls_workbook.h"

#include <memory>

class XlsApplication final : public SpreadsheetApp {
  public:
    // A new workbook replaces the previous one, which is dropped unsaved.
    bool add_workbook() override;
    SpreadsheetSheet* active_sheet() override { return workbook_.get(); }
    // Writes the whole workbook anew through a temporary file beside path, so
    // a failed save leaves the previous file as it was.
    bool save_as(const QString& path) override;
    void quit() override;
    QString error() const override { return error_; }

    // Starts an XlsApplication; it cannot fail.
    static SpreadsheetFactory factory();

  private:
    std::unique_ptr<xls::Workbook> workbook_;
    QString error_;
};
