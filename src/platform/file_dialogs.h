// SPDX-License-Identifier: MIT
#pragma once
// The program asks for file names through this service: the real one runs
// Qt's file dialog, tests install a scripted one.
//
// Each request has a title, one filter pattern shown as the pattern itself
// ("*.bmp;*.jpg") and matching each of its parts case-insensitively, and a
// kind: open (the file and its folder must exist) or save (the folder must
// exist; confirm before an existing file is chosen). No extension is ever
// added. The answer is the full path, or "" when the user cancelled, and the
// filter entry selected. The dialog opens in the folder last used, in this run or an earlier one.
//
// A save request names the extension its caller will append to a name that
// lacks it: the dialog asks before that completed name replaces a file too,
// since it is the one that will be written. A save request may offer further
// entries, each with its own extension; the one chosen decides the
// completion (completed_name).

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

enum class DialogKind { Open, Save };

struct DialogRequest {
    DialogKind kind;
    QString title;
    QString pattern; // e.g. "*.bmp;*.jpg"
    // A second filter entry offered after the first, "" for none.
    QString more_pattern = {};
    QString completion = {}; // save: the extension the caller appends, e.g. ".xls"
    // Save: entries listed after the first, e.g. {"Excel workbook (*.xlsx)", ".xlsx"}.
    struct SaveEntry {
        QString label;      // as the list shows it
        QString completion; // matches "*" + completion, and completes names
    };
    std::vector<SaveEntry> more_saves = {};
};

// The name a save dialog's answer `path` is written under when `entry` (0 the
// first) was chosen: kept when it ends, in any case, with the extension of
// any of the request's entries, completed with the chosen entry's otherwise.
QString completed_name(const DialogRequest& request, const QString& path, int entry);

// Appends `extension` (".kvo", ".bmp", ".xls") unless the name's last four
// characters, upper-cased, already read as it.
QString complete_extension(const QString& path, const QString& extension);

// One kind of file a save dialog offers, in a table of them in the order the
// dialog lists them (the first is the one selected): the exported picture's
// kinds, the workbook's formats. `kind` is the caller's own name for it.
template <typename Kind> struct SaveFileType {
    Kind kind;
    const char* extension;    // ".png"
    const char* dialog_entry; // the save dialog's entry: "PNG picture (*.png)"
};

struct DialogAnswer {
    QString path;  // "" when the user cancelled
    int entry = 0; // the filter entry selected, 0 the first
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual DialogAnswer ask(const DialogRequest& request, QWidget* owner) = 0;
};

// The patterns of a filter, one per ";"-separated part: "*.bmp;*.jpg" gives
// "*.[bB][mM][pP]" and "*.[jJ][pP][gG]", so that PHOTO.JPG is listed too.
QStringList case_insensitive_globs(const QString& pattern);

class QtFileDialogs : public FileDialogs {
  public:
    DialogAnswer ask(const DialogRequest& request, QWidget* owner) override;
};
