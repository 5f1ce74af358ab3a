// SPDX-License-Identifier: MIT
#pragma once
// Rows are never lost on closing: when the workbook's own file cannot take
// them, they go to a recovery workbook in the user's data folder,
// $XDG_DATA_HOME/kelvo/recovered/ (~/.local/share/kelvo/recovered/ by
// default), named after the workbook with the time of the rescue.

#include "form/reporter.h"
#include "workbook/spreadsheet.h"

#include <QDateTime>
#include <QString>

#include <vector>

struct OutputRoom;

// The recovery workbook for `book` at `when`, in the format of `book`:
// "results.xls" at 14:32:10 on 1 May 2024 gives
// ".../kelvo/recovered/results-20240501-143210.xls", "results.csv" a .csv.
QString recovery_workbook_path(const QString& book, const QDateTime& when);

struct RecoveryWorkbook {
    QString path;  // where the rows were kept
    QString error; // why they could not be, with the file; empty when kept
};
// Saves `rows` (as typed) under the banner and the header as a new recovery
// workbook for `book`. It never replaces a file: the name is taken only
// while it is free, in one step, so windows ended at the same instant write
// a workbook each ("-2", "-3"... after the time).
RecoveryWorkbook save_recovery_workbook(const SpreadsheetFactory& spreadsheets, const QString& book,
                                        const std::vector<spreadsheet::TypedRow>& rows);

// At start-up: when the recovery folder holds workbooks not announced before,
// the message says how many and where (each file is announced once; the
// settings remember which were): none when there are none. The File menu
// item "Recovered workbooks" shows while the folder holds any.
StatusMessages announce_recovered_workbooks(const OutputRoom& room);
// Shows the File menu item when the folder holds recovered workbooks.
void show_recovered_workbooks_item(const OutputRoom& room);
// The menu item: opens the folder in the desktop's file manager.
void recovered_workbooks_Click(const OutputRoom& room);
