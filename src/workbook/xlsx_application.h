// SPDX-License-Identifier: MIT
#pragma once
// The spreadsheet application for .xlsx workbooks (Excel 2007 and later):
// the workbook of XlsApplication, with its cells, numbers, formats and
// colours, written through libxlsxwriter.

#include "workbook/xls_application.h"

class XlsxApplication final : public XlsApplication {
  protected:
    QString write_workbook(const xls::Workbook& book, const QString& path,
                           AtomicFile::Replace replace) const override;
};
