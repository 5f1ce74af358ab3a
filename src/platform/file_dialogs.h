#pragma once
// The program asks for file names through this service: the real one runs
// Qt's file dialog, tests install a scripted one.
//
// Each request has a title, one filter pattern shown as the pattern itself
// ("*.bmp;*.jpg") and matching each of its parts case-insensitively, and a
// kind: open (the file and its folder must exist) or save (confirm before an
// existing file is chosen). No extension is ever added. The answer is the full
// path, or "" when the user cancelled. The dialog opens in the folder last
// used, in this run or an earlier one.

#include <QString>
#include <QStringList>

class QWidget;

enum class DialogKind { Open, Save };

struct DialogRequest {
    DialogKind kind;
    QString title;
    QString pattern; // e.g. "*.bmp;*.jpg"
    // A second filter entry offered after the first, "" for none.
    QString more_pattern = {};
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString ask(const DialogRequest& request, QWidget* owner) = 0;
};

// The patterns of a filter, one per ";"-separated part: "*.bmp;*.jpg" gives
// "*.[bB][mM][pP]" and "*.[jJ][pP][gG]", so that PHOTO.JPG is listed too.
QStringList case_insensitive_globs(const QString& pattern);

class QtFileDialogs : public FileDialogs {
public:
    QString ask(const DialogRequest& request, QWidget* owner) override;
};
