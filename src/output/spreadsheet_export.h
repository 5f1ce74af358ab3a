#pragma once
// Result rows in a spreadsheet workbook.

class F_main;

void write_xls_row(F_main& f);
void Command_new_Click(F_main& f);
// Saves and closes the open workbook, if any (the main window's unload runs it).
void close_workbook(F_main& f);
