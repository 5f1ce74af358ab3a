// SPDX-License-Identifier: MIT
#pragma once
// Result rows in a spreadsheet workbook. The workbook file is saved after its
// banner and header and again after every row, so a row is on disk as soon as
// the cross-hair turns green.

#include "xls/spreadsheet.h"

#include <QString>

class F_main;

void write_xls_row(F_main& f);
void Command_excel_Click(F_main& f);
// Enter (13) is taken (set to 0) and writes the row; other keys pass on.
void Command_excel_KeyPress(F_main& f, int& key_ascii);
void Command_new_Click(F_main& f);
struct WorkbookSave {
    QString error;           // the file and the reason; empty when it was saved
    bool taken_over = false; // another program changed it so that it cannot be read back
};
// Saves and closes the open workbook, if any (the main window's unload runs it).
// When the save fails the workbook stays open with every row. A file another
// writer replaced after this window's last row was saved is left to that
// writer.
WorkbookSave close_workbook(F_main& f);
// The saving part of close_workbook: the workbook stays open.
WorkbookSave save_open_workbook(F_main& f);

// A failure to write the workbook `book`, as messages say it: the file, then
// why (the spreadsheet application says the reason, never the file).
QString workbook_failure(const QString& book, const QString& why);
// Whether a sheet read back from a file is one of the program's workbooks:
// the banner, then the header row.
bool is_results_sheet(const spreadsheet::StoredSheet& sheet);
// Closes the open workbook without saving: the file keeps its last good save.
void abandon_workbook(F_main& f);
void wire_spreadsheet_export(F_main& f);
