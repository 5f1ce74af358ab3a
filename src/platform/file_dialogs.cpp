#include "platform/file_dialogs.h"

#include "platform/last_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// Qt's save dialog hands back a name in a folder that does not exist, and
// asks before replacing only the name as typed. Ours says that the folder is
// missing, in the words and the way Qt's open dialog says a file is missing,
// and stays open; and it asks, in Qt's own words, before the name as the
// caller will complete it replaces a file.
class FileDialog : public QFileDialog {
  public:
    FileDialog(QWidget* owner, const QString& title, QString completion)
        : QFileDialog(owner, title), completion_(std::move(completion)) {}

    void accept() override {
        if (acceptMode() == AcceptSave && !save_may_go_on()) return;
        QFileDialog::accept();
    }

  private:
    bool save_may_go_on() {
        const QStringList files = selectedFiles();
        if (files.isEmpty()) return true;
        const QFileInfo chosen(files.first());
        if (chosen.isDir()) return true; // Qt goes into the folder
        const QString folder = chosen.absolutePath();
        if (!QFileInfo(folder).isDir()) {
            QMessageBox::warning(this, windowTitle(),
                                 QCoreApplication::translate(
                                     "QFileDialog", "%1\nDirectory not found.\nPlease verify the "
                                                    "correct directory name was given.")
                                     .arg(QDir::toNativeSeparators(folder)));
            return false;
        }
        if (completion_.isEmpty()) return true;
        const QFileInfo completed(complete_extension(chosen.filePath(), completion_));
        if (completed.filePath() == chosen.filePath() || !completed.exists()) return true;
        return QMessageBox::warning(
                   this, windowTitle(),
                   QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to "
                                                              "replace it?")
                       .arg(completed.fileName()),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    }

    QString completion_;
};

} // namespace

QString complete_extension(const QString& path, const QString& extension) {
    if (path.right(4).toUpper() == extension.toUpper()) return path;
    return path + extension;
}

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
    FileDialog dialog(owner, request.title, request.completion);
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
                           case_insensitive_globs(pattern).join(QLatin1Char(' ')) +
                           QLatin1Char(')');
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
