// SPDX-License-Identifier: MIT
#pragma once
// The spreadsheet application for .csv files: the workbook of XlsApplication
// written as text for programs that read tables (Python, R). UTF-8 without a
// byte order mark, records as RFC 4180 lays them out (fields quoted when they
// hold a comma, a quote or a line break; CR LF between records), every record
// as wide as the widest, numbers with a point for decimals as the cells show
// them ("30.00", "3.14159"), no colours. Text that a spreadsheet would take
// for a formula (beginning with = + - @, a tab or a carriage return) is
// written with an apostrophe in front.

#include "workbook/xls_application.h"

#include <QByteArray>

class CsvApplication final : public XlsApplication {
  public:
    static QByteArray encode(const xls::CellRows& rows);

  protected:
    QString write_workbook(const xls::Workbook& book, const QString& path,
                           AtomicFile::Replace replace) const override;
};
