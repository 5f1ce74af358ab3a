// SPDX-License-Identifier: MIT
#pragma once
// The workbook's file is shared: another window of the program, or another
// program, may have written it since this window did. Each save therefore
// runs under the lock on the file's folder (platform/folder_lock), and first
// checks that the file is still the one this window last wrote. When it is
// not, its rows are read back and this window's unsaved rows go after them,
// so no row either writer reported saved is written over.

#include "xls/spreadsheet.h"

#include <QString>

class F_main;

enum class WorkbookFile {
    ours,      // as this window last wrote it, or gone: the workbook in memory goes as it is
    read_back, // another writer's rows are now in memory, this window's unsaved rows after them
    unreadable // changed, and cannot be read back: nothing may be written over it
};

struct FollowedFile {
    WorkbookFile state = WorkbookFile::ours;
    QString error; // for `unreadable`, why
};
// With the folder locked: brings the open workbook in line with its file.
// For `unreadable` nothing changes.
FollowedFile follow_workbook_file(F_main& f);

// Saves the open workbook (with the folder locked) and remembers the file as
// this window's; returns why it could not, empty when it did.
QString save_workbook_file(F_main& f);

// Types a row's cells into `row`; the first failure ("" when all went in).
// *cut is set when the sheet had to cut a text to fit a cell.
QString type_row(SpreadsheetSheet& sheet, int row, const spreadsheet::TypedRow& cells, bool* cut);
