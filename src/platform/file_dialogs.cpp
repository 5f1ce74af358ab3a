#include "platform/file_dialogs.h"

#include "platform/last_folder.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

// Qt's save dialog hands back a name in a folder that does not exist; ours
// stays open instead, as the open dialog does for a missing file, so every
// name it returns can be written.
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        if (acceptMode() == AcceptSave) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty() && !QFileInfo(QFileInfo(files.first()).absolutePath()).isDir())
                return;
        }
        QFileDialog::accept();
    }
};

} // namespace

QStringList case_insensitive_globs(const QString& pattern) {
    QStringList globs;
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString glob;
        for (const QChar c : part) {
            if (c.isLetter() && c.toLower() != c.toUpper())
                glob += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            else
                glob += c;
        }
        globs << glob;
    }
    return globs;
}

QString QtFileDialogs::ask(const DialogRequest& request, QWidget* owner) {
    FileDialog dialog(owner, request.title);
    // Qt's own dialog everywhere: it shows the filter exactly as the program
    // names it and behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The filter entry reads as the pattern itself; the details in brackets,
    // which do the matching, stay hidden.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList filters;
    for (const QString& pattern : {request.pattern, request.more_pattern})
        if (!pattern.isEmpty())
            filters << pattern + QLatin1String(" (") +
                           case_insensitive_globs(pattern).join(QLatin1Char(' ')) + QLatin1Char(')');
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    if (const QString folder = last_folder(); !folder.isEmpty()) dialog.setDirectory(folder);
    if (request.kind == DialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return QString();
    remember_folder_of(files.first());
    return files.first();
}
