// SPDX-License-Identifier: MIT
#include "output/spreadsheet_export.h"

#include "form/check_value.h"
#include "form/dialogs.h"
#include "form/measuring_door.h"
#include "form/output_room.h"
#include "output/workbook_recovery.h"
#include "output/workbook_session.h"

#include <QDir>
#include <QPlainTextEdit>

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
StatusMessage open_workbook(const OutputRoom& room, const QString& book) {
    if (const QString why = room.workbook.start(book); !why.isEmpty())
        return {QStringLiteral("No workbook was started: ") + workbook_failure(book, why)};
    return {QStringLiteral("Started the workbook %1").arg(shown(book)), ReportOutcome::done};
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
ResultRow result_row(const OutputRoom& room) {
    ResultRow row;
    spreadsheet::TypedRow& cells = row.cells;
    QString path = room.pic_path;
    row.replaced = replace_unpaired_surrogates(path);
    cells.push_back({1, path, std::nullopt});
    int col = 2;
    for (const ShownResult& result : room.measuring.results()) {
        // The label's colour as it holds it: a red or black mark, or the
        // system's window text colour (automatic) before the first click.
        cells.push_back({col++, result.text, result.mark});
    }
    QString comment = room.Text_comment->toPlainText();
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

// Types the result as the next row and saves the workbook: what became of
// the row, for the handler to say.
StatusMessage write_result_row(const OutputRoom& room) {
    WorkbookSession& book = room.workbook;
    if (book.xl_row > spreadsheet::max_rows) {
        return {QStringLiteral("The row was not written: %1 already holds %2 rows, the most a "
                               "workbook can hold; start a new one with \"new\"")
                    .arg(shown(book.xl_book))
                    .arg(spreadsheet::max_rows)};
    }
    const ResultRow result = result_row(room);
    const WorkbookSession::Typed typed = book.type_next_row(result.cells);
    if (!typed.error.isEmpty()) {
        // The row number stays, so writing again fills this same row.
        return {QStringLiteral("Row %1 was not written: ").arg(typed.row) +
                workbook_failure(book.xl_book, typed.error)};
    }
    if (value(room.Check_lock) == 0) room.Text_comment->setPlainText(QString());

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
        return {QStringLiteral("%1 was changed by another program and cannot be read back (%2); "
                               "row %3 is kept: choose \"new\" to start another workbook")
                    .arg(shown(book.xl_book), saved.error)
                    .arg(typed.row) +
                cut_note};
    }
    if (!saved.error.isEmpty()) {
        // The row is in the workbook and goes to disk with the next save that works.
        return {QStringLiteral("Row %1 is kept but not saved yet: ").arg(typed.row) +
                workbook_failure(book.xl_book, saved.error) + cut_note};
    }
    room.measuring.mark_row_saved();
    const QString after_others =
        saved.read_back
            ? QStringLiteral(", after the rows another window or program had written there")
            : QString();
    return {QStringLiteral("Row %1 saved in %2").arg(row).arg(shown(book.xl_book)) + after_others +
                rescued_note(saved) + cut_note,
            typed.cut ? ReportOutcome::failure : ReportOutcome::done};
}

} // namespace

StatusMessages write_xls_row(const OutputRoom& room) {
    if (room.pic_path.isEmpty()) return {};
    StatusMessages said;
    if (room.workbook.xl_open == 0) {
        const QString name = ask_save_xls(room.dialogs);
        if (name.isEmpty()) return {};
        said.push_back(open_workbook(room, name));
        if (said.back().outcome == ReportOutcome::failure) return said;
    }
    said.push_back(write_result_row(room));
    return said;
}

void Command_excel_Click(const OutputRoom& room) {
    room.report(write_xls_row(room));
}

void Command_excel_KeyPress(const OutputRoom& room, int& key_ascii) {
    if (key_ascii != 13) return;
    key_ascii = 0;
    room.report(write_xls_row(room));
}

void Command_new_Click(const OutputRoom& room) {
    const QString name = ask_save_xls(room.dialogs);
    if (name.isEmpty()) return;
    WorkbookSession& book = room.workbook;
    if (book.xl_open == 1) {
        const WorkbookSession::Save saved = book.save();
        if (!saved.error.isEmpty() && !saved.taken_over) {
            // The file may take the rows later (the disk has room again, the
            // stick is back): the workbook stays open for that.
            room.report(QStringLiteral("No new workbook was started, the open one stays open: ") +
                        save_failure(book, saved));
            return;
        }
        if (!saved.error.isEmpty()) {
            // Another program has the file, and its rows cannot go there:
            // they are kept as a recovery workbook, as on closing the window.
            const WorkbookSession::Rescue kept = book.rescue();
            if (!kept.error.isEmpty()) {
                room.report(QStringLiteral("No new workbook was started, the open one stays open: "
                                           "%1; nor could its rows be saved as a recovery "
                                           "workbook: %2")
                                .arg(save_failure(book, saved), kept.error));
                return;
            }
            room.report(QStringLiteral("The workbook's rows were saved in %1 (%2)")
                            .arg(shown(kept.path), save_failure(book, saved)));
        }
        book.close();
    }
    // Unlike "to Excel", no picture is needed: the workbook may come first.
    const StatusMessage opened = open_workbook(room, name);
    room.report(opened);
    if (opened.outcome == ReportOutcome::failure) return;
    room.report(write_xls_row(room));
}

WorkbookClosing close_workbook_on_unload(const OutputRoom& room) {
    WorkbookSession& book = room.workbook;
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
    if (!room.close_refused) {
        room.close_refused = true;
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

QString save_workbook_before_logout(const OutputRoom& room) {
    WorkbookSession& book = room.workbook;
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
