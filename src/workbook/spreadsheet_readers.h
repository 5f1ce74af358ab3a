// SPDX-License-Identifier: MIT
#pragma once
// Which workbook files the program can read back, by their extension. A file
// changed by another program since this window wrote it is read back before
// the next row goes in; a kind of workbook without a reader here keeps the
// new rows in memory instead of writing over the file.

#include "workbook/spreadsheet.h"

// The reader for the workbook at `path`; an empty function when there is none.
spreadsheet::SheetReader sheet_reader_for(const QString& path);
