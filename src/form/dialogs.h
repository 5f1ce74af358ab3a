// SPDX-License-Identifier: MIT
#pragma once
// The five file dialogs of the program. Each yields the full path of the
// chosen file, or "" when the user cancelled. The save dialogs yield the name
// completed with their extension (complete_extension), the name their
// overwrite question was about; the open dialogs yield the file as chosen.

#include "platform/file_dialogs.h"

#include <QString>

class F_main;
class QWidget;

// The dialogs as a subsystem's room holds them: the service, and the window
// they are shown over. The window hands out its own (implicitly, so a caller
// holding the window passes it as it is).
struct FileAsking {
    FileAsking(FileDialogs& service, QWidget* over) : dialogs(service), window(over) {}
    FileAsking(F_main& f); // NOLINT(google-explicit-constructor): the window's own dialogs
    FileDialogs& dialogs;
    QWidget* window;
};

QString ask_open_picture(const FileAsking& ask);
QString ask_open_defi(const FileAsking& ask);
QString ask_save_defi(const FileAsking& ask);
// The picture's and the workbook's dialogs offer every kind they write, so
// only they know the entry chosen: they hand back the name completed
// (completed_name).
QString ask_save_picture(const FileAsking& ask);
QString ask_save_xls(const FileAsking& ask);
