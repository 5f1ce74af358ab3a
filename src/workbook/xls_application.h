// SPDX-License-Identifier: MIT
#pragma once
// The program's spreadsheet application: it keeps the workbook in memory and
// saves it as an Excel 97-2003 (.xls) file, written atomically. The
// applications for the other formats keep the same workbook, so the same
// text becomes the same numbers and colours, and only write it otherwise.

#include "platform/atomic_file.h"
#include "workbook/spreadsheet.h"
#include "workbook/xls_workbook.h"

#include <memory>

class XlsApplication : public SpreadsheetApp {
  public:
    // A new workbook replaces the previous one, which is dropped unsaved.
    QString add_workbook() override;
    SpreadsheetSheet* active_sheet() override { return workbook_.get(); }
    // Writes the whole workbook anew through a temporary file beside path, so
    // a failed save leaves the previous file as it was.
    QString save_as(const QString& path) override;
    QString save_as_new(const QString& path) override;
    void quit() override;

    // Starts an XlsApplication, whatever the workbook's name; it cannot fail.
    static SpreadsheetFactory factory();

  protected:
    // Writes the whole workbook to `path`, atomically; returns why it could
    // not, empty when it did.
    virtual QString write_workbook(const xls::Workbook& book, const QString& path,
                                   AtomicFile::Replace replace) const;

  private:
    QString save(const QString& path, AtomicFile::Replace replace);
    std::unique_ptr<xls::Workbook> workbook_;
};
