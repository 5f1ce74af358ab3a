// SPDX-License-Identifier: MIT
#include "output/spreadsheet_export.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/results.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"
#include "output/workbook_file.h"
#include "output/workbook_recovery.h"
#include "platform/event_hooks.h"
#include "platform/folder_lock.h"
#include "version.h"
#include "widgets/forward_typing.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

// A workbook lives in the spreadsheet application's memory, and its file is
// rewritten (atomically) after the banner and header and after every row. So
// a crash or a kill loses nothing that was reported as saved, and a save that
// fails keeps its rows in memory until the next save that succeeds.

namespace {

const QString banner = QStringLiteral("'- kelvo version " KELVO_VERSION " -");
const QString header[] = {QStringLiteral("filename"), QStringLiteral("X"), QStringLiteral("Y"),
                          QStringLiteral("D"), QStringLiteral("comment")};
constexpr int first_result_row = 3;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString write_banner_and_header(SpreadsheetSheet& sheet) {
    QString why = sheet.set_cell(1, 1, banner);
    for (int col = 1; why.isEmpty() && col <= 5; ++col)
        why = sheet.set_cell(2, col, header[col - 1]);
    return why;
}

// Starts the application with a new workbook holding the banner and the
// header, and saves it as `book`. On failure the state stays as it was.
bool open_workbook(F_main& f, const QString& book) {
    const auto fail = [&](const QString& why) {
        f.report(QStringLiteral("No workbook was started: ") + workbook_failure(book, why));
        return false;
    };
    StartedSpreadsheet started = f.spreadsheets ? f.spreadsheets(book) : StartedSpreadsheet{};
    std::unique_ptr<SpreadsheetApp> app = std::move(started.app);
    if (!app)
        return fail(started.error.isEmpty()
                        ? QStringLiteral("the spreadsheet application did not start")
                        : started.error);
    if (const QString why = app->add_workbook(); !why.isEmpty()) return fail(why);
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return fail(QString());
    if (const QString why = write_banner_and_header(*sheet); !why.isEmpty()) return fail(why);
    // A new workbook replaces the file (the dialog asked), in turn with
    // other windows saving there.
    const FolderLock lock(book);
    if (!lock.error().isEmpty()) return fail(lock.error());
    if (const QString why = app->save_as(book); !why.isEmpty()) return fail(why);

    f.xl_written = file_identity(book);
    f.xl_pending.clear();
    f.xl_book = book;
    f.xl_app = std::move(app);
    f.xl_row = first_result_row;
    f.xl_open = 1;
    f.report(QStringLiteral("Started the workbook %1").arg(shown(book)), F_main::Outcome::done);
    return true;
}

// Text that is not valid UTF-16 (a lone surrogate, pasted or typed) would go
// into the workbook as is, and its readers then refuse the whole file: each
// unpaired surrogate becomes U+FFFD. How many were replaced.
int replace_unpaired_surrogates(QString& text) {
    int replaced = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // a pair
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
            ++replaced;
        }
    }
    return replaced;
}

// The result as the row's typed cells: the picture, X, Y and D with their
// labels' colours, the comment when there is one. *replaced counts the
// characters that were not valid text.
spreadsheet::TypedRow result_row(F_main& f, int* replaced) {
    spreadsheet::TypedRow cells;
    QString path = f.pic_path;
    *replaced = replace_unpaired_surrogates(path);
    cells.push_back({1, path, std::nullopt});
    int col = 2;
    for (const ShownResult& result : shown_results(f)) {
        // The label's colour as it holds it: a red or black mark, or the
        // system's window text colour (automatic) before the first click.
        cells.push_back({col++, result.text, result.mark});
    }
    QString comment = f.Text_comment->toPlainText();
    *replaced += replace_unpaired_surrogates(comment);
    if (!comment.isEmpty()) cells.push_back({5, comment, std::nullopt});
    return cells;
}

void write_result_row(F_main& f) {
    // Another window may save this workbook too: the file is read, the row
    // added and the file saved while the folder is locked.
    const FolderLock lock(f.xl_book);
    const FollowedFile followed = lock.error().isEmpty()
                                      ? follow_workbook_file(f)
                                      : FollowedFile{WorkbookFile::ours, lock.error()};
    const WorkbookFile file = followed.state;
    QString why = followed.error;
    const int row = f.xl_row;
    if (row > spreadsheet::max_rows) {
        f.report(QStringLiteral("The row was not written: %1 already holds %2 rows, the most a "
                                "workbook can hold; start a new one with \"new\"")
                     .arg(shown(f.xl_book))
                     .arg(spreadsheet::max_rows));
        return;
    }
    SpreadsheetSheet* sheet = f.xl_app->active_sheet();
    if (!sheet) {
        f.report(QStringLiteral("Row %1 was not written: ").arg(row) +
                 workbook_failure(f.xl_book, QString()));
        return;
    }
    bool comment_cut = false;
    int replaced = 0;
    const spreadsheet::TypedRow cells = result_row(f, &replaced);
    const QString failure = type_row(*sheet, row, cells, &comment_cut);
    if (!failure.isEmpty()) {
        // The row number stays, so writing again fills this same row.
        f.report(QStringLiteral("Row %1 was not written: ").arg(row) +
                 workbook_failure(f.xl_book, failure));
        return;
    }
    f.xl_pending.push_back(cells);
    if (value(f.Check_lock) == 0) f.Text_comment->setPlainText(QString());
    f.xl_row = row + 1;

    QString cut_note =
        comment_cut ? QStringLiteral("; its comment was cut to %1 characters, the most a cell "
                                     "holds")
                          .arg(spreadsheet::max_cell_text)
                    : QString();
    if (replaced > 0)
        cut_note += QStringLiteral("; %1 character(s) that are not valid text were replaced by %2")
                        .arg(replaced)
                        .arg(QChar(QChar::ReplacementCharacter));
    if (file == WorkbookFile::unreadable) {
        // Writing would erase what the other program put there.
        f.report(QStringLiteral("%1 was changed by another program and cannot be read back (%2); "
                                "row %3 is kept: choose \"new\" to start another workbook")
                     .arg(shown(f.xl_book), why)
                     .arg(row) +
                 cut_note);
        return;
    }
    if (why.isEmpty()) why = save_workbook_file(f);
    if (!why.isEmpty()) {
        // The row is in the workbook and goes to disk with the next save that works.
        f.report(QStringLiteral("Row %1 is kept but not saved yet: ").arg(row) +
                 workbook_failure(f.xl_book, why) + cut_note);
        return;
    }
    set_trace_green(f);
    const QString after_others =
        file == WorkbookFile::read_back
            ? QStringLiteral(", after the rows another window or program had written there")
            : QString();
    f.report(QStringLiteral("Row %1 saved in %2").arg(row).arg(shown(f.xl_book)) + after_others +
                 cut_note,
             comment_cut ? F_main::Outcome::failure : F_main::Outcome::done);
    if (f.on_row_saved) f.on_row_saved(f.xl_book, cells);
}

} // namespace

void write_xls_row(F_main& f) {
    if (f.pic_path.isEmpty()) return;
    if (f.xl_open == 0) {
        const QString name = ask_save_xls(f);
        if (name.isEmpty()) return;
        if (!open_workbook(f, name)) return;
    }
    write_result_row(f);
}

void Command_excel_Click(F_main& f) {
    write_xls_row(f);
}

void Command_excel_KeyPress(F_main& f, int& key_ascii) {
    if (key_ascii != 13) return;
    key_ascii = 0;
    write_xls_row(f);
}

void Command_new_Click(F_main& f) {
    const QString name = ask_save_xls(f);
    if (name.isEmpty()) return;
    const auto [why, taken_over] = close_workbook(f);
    if (!why.isEmpty()) {
        if (!taken_over) {
            // The file may take the rows later (the disk has room again, the
            // stick is back): the workbook stays open for that.
            f.report(QStringLiteral("No new workbook was started, the open one stays open: ") +
                     why);
            return;
        }
        // Another program has the file, and its rows cannot go there: they
        // are kept as a recovery workbook, as on closing the window.
        const RecoveryWorkbook kept = save_recovery_workbook(f);
        if (kept.path.isEmpty()) {
            f.report(QStringLiteral("No new workbook was started, the open one stays open: %1; "
                                    "nor could its rows be saved as a recovery workbook: %2")
                         .arg(why, kept.error));
            return;
        }
        abandon_workbook(f);
        f.report(
            QStringLiteral("The workbook's rows were saved in %1 (%2)").arg(shown(kept.path), why));
        show_recovered_workbooks_item(f);
    }
    // Unlike "to Excel", no picture is needed: the workbook may come first.
    if (!open_workbook(f, name)) return;
    write_xls_row(f);
}

QString workbook_failure(const QString& book, const QString& why) {
    const QString reason = why.isEmpty() ? QStringLiteral("no reason was given") : why;
    return shown(book) + QStringLiteral(": ") + reason;
}

WorkbookSave save_open_workbook(F_main& f) {
    if (f.xl_open == 0 || !f.xl_app) return {};
    const FolderLock lock(f.xl_book);
    QString reason = lock.error();
    bool taken_over = false;
    const FileIdentity now = file_identity(f.xl_book);
    // Every row is saved, and another writer has the file now: nothing to add.
    const bool others_file = now.exists && now != f.xl_written && f.xl_pending.empty();
    if (reason.isEmpty() && !others_file) {
        if (const FollowedFile followed = follow_workbook_file(f);
            followed.state == WorkbookFile::unreadable) {
            reason =
                QStringLiteral("it was changed by another program and cannot be read back (%1)")
                    .arg(followed.error);
            taken_over = true;
        }
    }
    if (reason.isEmpty() && !others_file) reason = save_workbook_file(f);
    if (!reason.isEmpty()) return {workbook_failure(f.xl_book, reason), taken_over};
    return {};
}

WorkbookSave close_workbook(F_main& f) {
    if (f.xl_open == 0) return {};
    WorkbookSave saved = save_open_workbook(f);
    if (saved.error.isEmpty()) abandon_workbook(f);
    return saved;
}

bool is_results_sheet(const spreadsheet::StoredSheet& sheet) {
    const auto text_at = [&](int row, int col) {
        for (const spreadsheet::StoredCell& cell : sheet.cells)
            if (cell.row == row && cell.col == col &&
                cell.value.kind == spreadsheet::CellValue::Kind::text)
                return cell.value.text;
        return QString();
    };
    // Any version's banner: "- kelvo version 0.02 -".
    if (!text_at(1, 1).startsWith(banner.mid(1, 16))) return false;
    for (int col = 1; col <= 5; ++col)
        if (text_at(2, col) != header[col - 1]) return false;
    return true;
}

void abandon_workbook(F_main& f) {
    if (f.xl_app) f.xl_app->quit();
    f.xl_app.reset();
    f.xl_open = 0;
}

void wire_spreadsheet_export(F_main& f) {
    QObject::connect(f.Command_excel, &QPushButton::clicked, &f, [&f] { Command_excel_Click(f); });
    QObject::connect(f.Command_new, &QPushButton::clicked, &f, [&f] { Command_new_Click(f); });
    on_key_press(f.Command_excel, [&f](int& key_ascii) { Command_excel_KeyPress(f, key_ascii); });
    // The focus moves to "to Excel" after a measurement; a comment typed
    // then goes where it was meant to go.
    forward_typing(f.Command_excel, f.Text_comment);
    QObject::connect(f.fw, &QAction::triggered, &f, [&f] { fw_Click(f); });
}
