// SPDX-License-Identifier: MIT
#include "platform/file_dialogs.h"

#include "platform/last_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

// Qt's save dialog hands back a name in a folder that does not exist, and
// asks before replacing only the name as typed. Ours says that the folder is
// missing, in the words and the way Qt's open dialog says a file is missing,
// and stays open; and it asks, in Qt's own words, before the name as the
// caller will complete it replaces a file.
class FileDialog : public QFileDialog {
  public:
    FileDialog(QWidget* owner, const DialogRequest& request, QStringList labels,
               QStringList filters)
        : QFileDialog(owner, request.title), request_(request), labels_(std::move(labels)),
          filters_(std::move(filters)) {}

    // Qt names the selected filter by its label when the details are hidden.
    int selected_entry() const {
        const QString selected = selectedNameFilter();
        const qsizetype at = labels_.indexOf(selected);
        return int(std::max<qsizetype>(0, at >= 0 ? at : filters_.indexOf(selected)));
    }

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
        if (request_.completion.isEmpty()) return true;
        const QFileInfo completed(completed_name(request_, chosen.filePath(), selected_entry()));
        if (completed.filePath() == chosen.filePath() || !completed.exists()) return true;
        return QMessageBox::warning(
                   this, windowTitle(),
                   QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to "
                                                              "replace it?")
                       .arg(completed.fileName()),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    }

    const DialogRequest& request_;
    QStringList labels_;
    QStringList filters_;
};

QString filter_entry(const QString& label, const QString& pattern) {
    // The details in brackets do the matching; the list shows the label only.
    return label + QLatin1String(" (") + case_insensitive_globs(pattern).join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

} // namespace

QString complete_extension(const QString& path, const QString& extension) {
    if (path.right(4).toUpper() == extension.toUpper()) return path;
    return path + extension;
}

QString completed_name(const DialogRequest& request, const QString& path, int entry) {
    QStringList extensions{request.completion};
    for (const DialogRequest::SaveEntry& more : request.more_saves)
        extensions << more.completion;
    for (const QString& extension : extensions)
        if (!extension.isEmpty() && path.endsWith(extension, Qt::CaseInsensitive)) return path;
    return path + extensions.value(entry, request.completion);
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

DialogAnswer QtFileDialogs::ask(const DialogRequest& request, QWidget* owner) {
    QStringList labels;
    QStringList patterns;
    for (const QString& pattern : {request.pattern, request.more_pattern}) {
        if (pattern.isEmpty()) continue;
        labels << pattern;
        patterns << pattern;
    }
    for (const DialogRequest::SaveEntry& more : request.more_saves) {
        labels << more.label;
        patterns << QLatin1Char('*') + more.completion;
    }
    QStringList filters;
    for (qsizetype i = 0; i < labels.size(); ++i)
        filters << filter_entry(labels[i], patterns[i]);
    // Deleted at the next turn of whichever loop runs then (the opening's
    // own, while the picture chosen is decoded), not on return: a file
    // dialog's destruction waits for the thread that read its folder, which
    // held the opening up 5 to 15 ms.
    const auto later = [](FileDialog* d) {
        QTimer::singleShot(0, qApp, [d = QPointer<FileDialog>(d)] { delete d.data(); });
    };
    const std::unique_ptr<FileDialog, decltype(later)> dialog(
        new FileDialog(owner, request, labels, filters), later);
    // Qt's own dialog everywhere: it shows the filter exactly as the program
    // names it and behaves the same on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    // The first filter entry reads as the pattern itself; the details in
    // brackets, which do the matching, stay hidden.
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.first());
    if (const QString folder = last_folder(); !folder.isEmpty()) dialog->setDirectory(folder);
    if (request.kind == DialogKind::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    if (dialog->exec() != QDialog::Accepted) return {};
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty()) return {};
    // Written (and flushed to disk) at the loop's next turn, while the file
    // chosen is already being read.
    QTimer::singleShot(0, qApp, [file = files.first()] { remember_folder_of(file); });
    return {files.first(), dialog->selected_entry()};
}
