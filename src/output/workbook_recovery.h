#pragma once
// Rows are never lost on closing: when the workbook's own file cannot take
// them, they go to a recovery workbook in the user's data folder,
// $XDG_DATA_HOME/kelvo/recovered/ (~/.local/share/kelvo/recovered/ by
// default), named after the workbook with the time of the rescue.

#include <QDateTime>
#include <QString>

class F_main;

// The recovery workbook for `book` at `when`: "results.xls" at 14:32:10 on
// 1 May 2024 gives ".../kelvo/recovered/results-20240501-143210.xls".
QString recovery_workbook_path(const QString& book, const QDateTime& when);

struct RecoveryWorkbook {
    QString path;  // where the rows were kept
    QString error; // why they could not be; empty when kept
};
// Saves the open workbook's rows as a recovery workbook (never over an
// existing file).
RecoveryWorkbook save_recovery_workbook(F_main& f);

// The workbook's own file could not take its rows (`why`): they go to a
// recovery workbook, and the status bar says where. Returns false when that
// failed too and the window should stay open (once: a second close goes).
bool rescue_rows(F_main& f, const QString& why);
