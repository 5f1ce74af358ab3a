// SPDX-License-Identifier: MIT
#pragma once
// The file formats a workbook of results can be saved in, told apart by the
// extension of the workbook's name. Everything that depends on the format
// asks here: the save dialog's entries, the completion of a typed name, the
// spreadsheet application that writes the file.

#include "platform/file_dialogs.h"
#include "workbook/spreadsheet.h"

#include <QString>

enum class WorkbookFormat { xls, xlsx, csv };

using WorkbookFileType = SaveFileType<WorkbookFormat>;
inline constexpr WorkbookFileType workbook_file_types[] = {
    {WorkbookFormat::xls, ".xls", "*.xls"},
    {WorkbookFormat::xlsx, ".xlsx", "Excel workbook (*.xlsx)"},
    {WorkbookFormat::csv, ".csv", "CSV, comma-separated (*.csv)"},
};

// The format of the workbook file `path`, by its extension in any case; .xls
// for a name that has none of theirs.
WorkbookFormat workbook_format(const QString& path);
// Starts, for a workbook file, the spreadsheet application writing its format.
SpreadsheetFactory workbook_applications();
