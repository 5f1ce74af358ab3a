// SPDX-License-Identifier: MIT
#pragma once
// The five file dialogs of the program. Each yields the full path of the
// chosen file, or "" when the user cancelled. The save dialogs yield the name
// completed with their extension (complete_extension), the name their
// overwrite question was about; the open dialogs yield the file as chosen.

#include "platform/file_dialogs.h"

#include <QString>

class F_main;

QString ask_open_picture(F_main& f);
QString ask_open_defi(F_main& f);
QString ask_save_defi(F_main& f);
// The picture's and the workbook's dialogs offer every kind they write, so
// only they know the entry chosen: they hand back the name completed
// (completed_name).
QString ask_save_picture(F_main& f);
QString ask_save_xls(F_main& f);
