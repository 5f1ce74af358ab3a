// SPDX-License-Identifier: MIT
#pragma once
// File > "Open recent (&R)": the last pictures opened, newest first. A file
// that is no longer there is taken off the list, and the status line says so.

#include <QString>

class F_main;
struct ViewRoom;

void add_recent_menu(F_main& f);
// Fills the submenu from the list kept in the settings; it is disabled while
// the list is empty. Runs whenever the File menu opens.
void fill_recent_menu(const ViewRoom& room);
