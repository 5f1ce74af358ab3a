// SPDX-License-Identifier: MIT
#include "output/spreadsheet_export.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/measure_room.h"
#include "form/results.h"
#include "measure/trace_colours.h"
#include "output/workbook_recovery.h"
#include "output/workbook_session.h"
#include "platform/event_hooks.h"
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

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Starts a new workbook as `book` (on failure the state stays as it was):
// what the status line says of it, as done or failed.
struct Opened {
    QString message;
    F_main::Outcome outcome = F_main::Outcome::failure;
};
Opened open_workbook(F_main& f, const QString& book) {
    if (const QString why = f.workbook->start(book); !why.isEmpty())
        return {QStringLiteral("No workbook was started: ") + workbook_failure(book, why)};
    return {QStringLiteral("Started the workbook %1").arg(shown(book)), F_main::Outcome::done};
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
// labels' colours, the comment when there is one; and how many characters
// were not valid text and were replaced.
struct ResultRow {
    spreadsheet::TypedRow cells;
    int replaced = 0;
};
ResultRow result_row(F_main& f) {
    ResultRow row;
    spreadsheet::TypedRow& cells = row.cells;
    QString path = f.pic_path;
    row.replaced = replace_unpaired_surrogates(path);
    cells.push_back({1, path, std::nullopt});
    int col = 2;
    for (const ShownResult& result : shown_results(f.measure_room())) {
        // The label's colour as it holds it: a red or black mark, or the
        // system's window text colour (automatic) before the first click.
        cells.push_back({col++, result.text, result.mark});
    }
    QString comment = f.Text_comment->toPlainText();
    row.replaced += replace_unpaired_surrogates(comment);
    if (!comment.isEmpty()) cells.push_back({5, comment, std::nullopt});
    return row;
}

// What became of rows this window had saved in a file another writer has
// since replaced without them; empty when there were none.
QString rescued_note(const WorkbookSession::Save& saved) {
    if (saved.rescued_rows == 0 || saved.rescued_to.isEmpty()) return QString();
    return QStringLiteral("; %1 row(s) this window had saved there were no longer in it "
                          "(another window or program replaced it) and were saved in %2")
        .arg(saved.rescued_rows)
        .arg(shown(saved.rescued_to));
}

// Why a save did not go through, with the file, as "new" and closing say it.
QString save_failure(const WorkbookSession& book, const WorkbookSession::Save& saved) {
    return workbook_failure(
        book.xl_book,
        saved.taken_over
            ? QStringLiteral("it was changed by another program and cannot be read back (%1)")
                  .arg(saved.error)
            : saved.error);
}

void write_result_row(F_main& f) {
    WorkbookSession& book = *f.workbook;
    if (book.xl_row > spreadsheet::max_rows) {
        f.report(QStringLiteral("The row was not written: %1 already holds %2 rows, the most a "
                                "workbook can hold; start a new one with \"new\"")
                     .arg(shown(book.xl_book))
                     .arg(spreadsheet::max_rows));
        return;
    }
    const ResultRow result = result_row(f);
    const WorkbookSession::Typed typed = book.type_next_row(result.cells);
    if (!typed.error.isEmpty()) {
        // The row number stays, so writing again fills this same row.
        f.report(QStringLiteral("Row %1 was not written: ").arg(typed.row) +
                 workbook_failure(book.xl_book, typed.error));
        return;
    }
    if (value(f.Check_lock) == 0) f.Text_comment->setPlainText(QString());

    QString cut_note =
        typed.cut ? QStringLiteral("; its comment was cut to %1 characters, the most a cell "
                                   "holds")
                        .arg(spreadsheet::max_cell_text)
                  : QString();
    if (result.replaced > 0)
        cut_note += QStringLiteral("; %1 character(s) that are not valid text were replaced by %2")
                        .arg(result.replaced)
                        .arg(QChar(QChar::ReplacementCharacter));
    const WorkbookSession::Save saved = book.save();
    const int row = book.xl_row - 1; // after a read-back, the row it now has
    if (saved.taken_over) {
        // Writing would erase what the other program put there.
        f.report(QStringLiteral("%1 was changed by another program and cannot be read back (%2); "
                                "row %3 is kept: choose \"new\" to start another workbook")
                     .arg(shown(book.xl_book), saved.error)
                     .arg(typed.row) +
                 cut_note);
        return;
    }
    if (!saved.error.isEmpty()) {
        // The row is in the workbook and goes to disk with the next save that works.
        f.report(QStringLiteral("Row %1 is kept but not saved yet: ").arg(typed.row) +
                 workbook_failure(book.xl_book, saved.error) + cut_note);
        return;
    }
    set_trace_green(f.measure_room());
    const QString after_others =
        saved.read_back
            ? QStringLiteral(", after the rows another window or program had written there")
            : QString();
    f.report(QStringLiteral("Row %1 saved in %2").arg(row).arg(shown(book.xl_book)) + after_others +
                 rescued_note(saved) + cut_note,
             typed.cut ? F_main::Outcome::failure : F_main::Outcome::done);
}

} // namespace

void write_xls_row(F_main& f) {
    if (f.pic_path.isEmpty()) return;
    if (f.workbook->xl_open == 0) {
        const QString name = ask_save_xls(f);
        if (name.isEmpty()) return;
        const Opened opened = open_workbook(f, name);
        f.report(opened.message, opened.outcome);
        if (opened.outcome == F_main::Outcome::failure) return;
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
    WorkbookSession& book = *f.workbook;
    if (book.xl_open == 1) {
        const WorkbookSession::Save saved = book.save();
        if (!saved.error.isEmpty() && !saved.taken_over) {
            // The file may take the rows later (the disk has room again, the
            // stick is back): the workbook stays open for that.
            f.report(QStringLiteral("No new workbook was started, the open one stays open: ") +
                     save_failure(book, saved));
            return;
        }
        if (!saved.error.isEmpty()) {
            // Another program has the file, and its rows cannot go there:
            // they are kept as a recovery workbook, as on closing the window.
            const WorkbookSession::Rescue kept = book.rescue();
            if (!kept.error.isEmpty()) {
                f.report(QStringLiteral("No new workbook was started, the open one stays open: "
                                        "%1; nor could its rows be saved as a recovery "
                                        "workbook: %2")
                             .arg(save_failure(book, saved), kept.error));
                return;
            }
            f.report(QStringLiteral("The workbook's rows were saved in %1 (%2)")
                         .arg(shown(kept.path), save_failure(book, saved)));
        }
        book.close();
    }
    // Unlike "to Excel", no picture is needed: the workbook may come first.
    const Opened opened = open_workbook(f, name);
    f.report(opened.message, opened.outcome);
    if (opened.outcome == F_main::Outcome::failure) return;
    write_xls_row(f);
}

WorkbookClosing close_workbook_on_unload(F_main& f) {
    WorkbookSession& book = *f.workbook;
    if (book.xl_open == 0) return {};
    const WorkbookSession::Save saved = book.save();
    if (saved.error.isEmpty()) {
        WorkbookClosing closing;
        if (!saved.rescued_to.isEmpty())
            // Reported as a failure, so the log (standard error) names the
            // file even though the window is going.
            closing.message =
                QStringLiteral("%1 was replaced by another window or program without %2 "
                               "row(s) this window had saved there; they were saved in %3")
                    .arg(shown(book.xl_book))
                    .arg(saved.rescued_rows)
                    .arg(shown(saved.rescued_to));
        book.close();
        return closing;
    }
    const QString why = save_failure(book, saved);
    const WorkbookSession::Rescue kept = book.rescue();
    if (kept.error.isEmpty()) {
        book.close();
        if (!kept.path.isEmpty())
            return {QStringLiteral("The workbook was not saved on closing (%1); its rows %2 %3")
                        .arg(why,
                             kept.earlier ? QStringLiteral("were saved before in")
                                          : QStringLiteral("were saved in"),
                             shown(kept.path))};
        return {
            QStringLiteral("The workbook was not saved on closing (%1); it held no rows").arg(why)};
    }
    if (!f.close_refused) {
        f.close_refused = true;
        return {QStringLiteral("The window stays open: the workbook's rows could not be saved "
                               "(%1), nor as a recovery workbook (%2). Close again to quit "
                               "without them.")
                    .arg(why, kept.error),
                false};
    }
    book.close();
    return {
        QStringLiteral("The workbook's rows were lost on closing: %1; %2").arg(why, kept.error)};
}

QString save_workbook_before_logout(F_main& f) {
    WorkbookSession& book = *f.workbook;
    if (book.xl_pending.empty()) return QString();
    const WorkbookSession::Save saved = book.save();
    if (saved.error.isEmpty()) return QString();
    const QString why = save_failure(book, saved);
    const WorkbookSession::Rescue kept = book.rescue();
    if (!kept.error.isEmpty())
        return QStringLiteral("Logging out, and the workbook's rows could not be "
                              "saved: %1; nor as a recovery workbook: %2")
            .arg(why, kept.error);
    return QStringLiteral("Logging out: the workbook's rows were saved in %1 (%2)")
        .arg(shown(kept.path), why);
}

QString workbook_failure(const QString& book, const QString& why) {
    const QString reason = why.isEmpty() ? QStringLiteral("no reason was given") : why;
    return shown(book) + QStringLiteral(": ") + reason;
}

void wire_spreadsheet_export(F_main& f) {
    f.workbook = new WorkbookSession(f.spreadsheets, &f);
    // A rescue at any time (a row, "new", logging out, closing) shows the
    // menu item that opens the recovery folder.
    QObject::connect(f.workbook, &WorkbookSession::rows_rescued, &f,
                     [&f] { show_recovered_workbooks_item(f); });
    QObject::connect(f.Command_excel, &QPushButton::clicked, &f, [&f] { Command_excel_Click(f); });
    QObject::connect(f.Command_new, &QPushButton::clicked, &f, [&f] { Command_new_Click(f); });
    on_key_press(f.Command_excel, [&f](int& key_ascii) { Command_excel_KeyPress(f, key_ascii); });
    // The focus moves to "to Excel" after a measurement; a comment typed
    // then goes where it was meant to go.
    forward_typing(f.Command_excel, f.Text_comment);
    // Installed last, so it sees the keys first: a key held on a button
    // writes one row, or starts one workbook, not one per repeat.
    for (QPushButton* button : {f.Command_excel, f.Command_new})
        ignore_key_repeats(button, {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter});
    QObject::connect(f.fw, &QAction::triggered, &f, [&f] { fw_Click(f); });
}
