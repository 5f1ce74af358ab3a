// SPDX-License-Identifier: MIT
#pragma once
// Result rows in a spreadsheet workbook. The workbook file is saved after its
// banner and header and again after every row, so a row is on disk as soon as
// the cross-hair turns green. The workbook itself, its saves and its rescues
// are the window's WorkbookSession (output/workbook_session); this file
// answers the user.

#include <QString>

class F_main;

void write_xls_row(F_main& f);
void Command_excel_Click(F_main& f);
// Enter (13) is taken (set to 0) and writes the row; other keys pass on.
// A key held down writes one row: its repeats never get here.
void Command_excel_KeyPress(F_main& f, int& key_ascii);
void Command_new_Click(F_main& f);

// Saves and closes the open workbook for good, as the window closes; rows
// the file cannot take, or that another writer took out of it, go to a
// recovery workbook, and the message says where (empty when there is
// nothing to say). `closes` is false when they could be kept nowhere: the
// window then stays open, once.
struct WorkbookClosing {
    QString message;
    bool closes = true;
};
WorkbookClosing close_workbook_on_unload(F_main& f);
// The desktop's request before logging out: the rows not saved yet are
// saved, into a recovery workbook when the file cannot take them. The
// workbook stays open. What went wrong, empty when the rows are saved.
QString save_workbook_before_logout(F_main& f);

// A failure to write the workbook `book`, as messages say it: the file, then
// why (the spreadsheet application says the reason, never the file).
QString workbook_failure(const QString& book, const QString& why);
void wire_spreadsheet_export(F_main& f);
