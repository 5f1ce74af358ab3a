// SPDX-License-Identifier: MIT
#pragma once
// Result rows in a spreadsheet workbook. The workbook file is saved after its
// banner and header and again after every row, so a row is on disk as soon as
// the cross-hair turns green. The workbook itself, its saves and its rescues
// are the window's WorkbookSession (output/workbook_session); this file
// answers the user.

#include "form/reporter.h"

#include <QString>

struct OutputRoom;

// Writes the result as the next row, first asking for a workbook when none
// is open; what the status line is to say of it, in order.
StatusMessages write_xls_row(const OutputRoom& room);
void Command_excel_Click(const OutputRoom& room);
// Enter (13) is taken (set to 0) and writes the row; other keys pass on.
// A key held down writes one row: its repeats never get here.
void Command_excel_KeyPress(const OutputRoom& room, int& key_ascii);
void Command_new_Click(const OutputRoom& room);

// Saves and closes the open workbook for good, as the window closes; rows
// the file cannot take, or that another writer took out of it, go to a
// recovery workbook, and the message says where (empty when there is
// nothing to say). `closes` is false when they could be kept nowhere: the
// window then stays open, once.
struct WorkbookClosing {
    QString message;
    bool closes = true;
};
WorkbookClosing close_workbook_on_unload(const OutputRoom& room);
// The desktop's request before logging out: the rows not saved yet are
// saved, into a recovery workbook when the file cannot take them. The
// workbook stays open. What went wrong, empty when the rows are saved.
QString save_workbook_before_logout(const OutputRoom& room);

// A failure to write the workbook `book`, as messages say it: the file, then
// why (the spreadsheet application says the reason, never the file).
QString workbook_failure(const QString& book, const QString& why);
