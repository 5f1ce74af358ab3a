#include "output/spreadsheet_export.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/results.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"
#include "platform/event_hooks.h"

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

// A workbook lives in the spreadsheet application's memory, and its file is
// rewritten (atomically) after the banner and header and after every row. So
// a crash or a kill loses nothing that was reported as saved, and a save that
// fails keeps its rows in memory until the next save that succeeds.

namespace {

const QString banner = QStringLiteral("'- kelvo version 0.02 -");
const QString header[] = {QStringLiteral("filename"), QStringLiteral("X"), QStringLiteral("Y"),
                          QStringLiteral("D"), QStringLiteral("comment")};
constexpr int first_result_row = 3;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool write_banner_and_header(SpreadsheetSheet& sheet) {
    bool ok = sheet.set_cell(1, 1, banner);
    for (int col = 1; ok && col <= 5; ++col)
        ok = sheet.set_cell(2, col, header[col - 1]);
    return ok;
}

// Starts the application with a new workbook holding the banner and the
// header, and saves it as `book`. On failure the state stays as it was.
bool open_workbook(F_main& f, const QString& book) {
    const auto fail = [&](const QString& why) {
        f.report(QStringLiteral("No workbook was started: ") + workbook_failure(book, why));
        return false;
    };
    QString why;
    std::unique_ptr<SpreadsheetApp> app = f.spreadsheets ? f.spreadsheets(&why) : nullptr;
    if (!app)
        return fail(why.isEmpty() ? QStringLiteral("the spreadsheet application did not start")
                                  : why);
    if (!app->add_workbook()) return fail(app->error());
    SpreadsheetSheet* sheet = app->active_sheet();
    if (!sheet) return fail(app->error());
    if (!write_banner_and_header(*sheet)) return fail(sheet->error());
    if (!app->save_as(book)) return fail(app->error());

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

// Types the result into the row's cells. Every step is tried even when one
// fails; the first failure is returned ("" when all went in).
QString type_result_row(F_main& f, SpreadsheetSheet& sheet, int row, bool* comment_cut,
                        int* replaced) {
    QString failure;
    const auto step = [&](bool ok) {
        if (!ok && failure.isEmpty()) failure = sheet.error();
    };
    QString path = f.pic_path;
    *replaced = replace_unpaired_surrogates(path);
    step(sheet.set_cell(row, 1, path));
    int col = 2;
    for (const ShownResult& result : shown_results(f)) {
        // The label's colour as it holds it: a red or black mark, or the
        // system's window text colour (automatic) before the first click.
        step(sheet.set_font_colour(row, col, result.mark));
        step(sheet.set_cell(row, col, result.text));
        ++col;
    }
    *comment_cut = false;
    QString comment = f.Text_comment->toPlainText();
    *replaced += replace_unpaired_surrogates(comment);
    if (!comment.isEmpty()) {
        const bool ok = sheet.set_cell(row, 5, comment);
        step(ok);
        *comment_cut = ok && sheet.last_cell_truncated();
    }
    return failure;
}

void write_result_row(F_main& f) {
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
                 workbook_failure(f.xl_book, f.xl_app->error()));
        return;
    }
    bool comment_cut = false;
    int replaced = 0;
    const QString failure = type_result_row(f, *sheet, row, &comment_cut, &replaced);
    if (!failure.isEmpty()) {
        // The row number stays, so writing again fills this same row.
        f.report(QStringLiteral("Row %1 was not written: ").arg(row) +
                 workbook_failure(f.xl_book, failure));
        return;
    }
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
    if (!f.xl_app->save_as(f.xl_book)) {
        // The row is in the workbook and goes to disk with the next save that works.
        f.report(QStringLiteral("Row %1 is kept but not saved yet: ").arg(row) +
                 workbook_failure(f.xl_book, f.xl_app->error()) + cut_note);
        return;
    }
    set_trace_green(f);
    f.report(QStringLiteral("Row %1 saved in %2").arg(row).arg(shown(f.xl_book)) + cut_note,
             comment_cut ? F_main::Outcome::failure : F_main::Outcome::done);
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
    QString why;
    if (!close_workbook(f, &why)) {
        f.report(QStringLiteral("No new workbook was started, the open one stays open: ") + why);
        return;
    }
    // Unlike "to Excel", no picture is needed: the workbook may come first.
    if (!open_workbook(f, name)) return;
    write_xls_row(f);
}

QString workbook_failure(const QString& book, const QString& why) {
    const QString reason = why.isEmpty() ? QStringLiteral("no reason was given") : why;
    return shown(book) + QStringLiteral(": ") + reason;
}

bool close_workbook(F_main& f, QString* why) {
    if (f.xl_open == 0) return true;
    if (f.xl_app && !f.xl_app->save_as(f.xl_book)) {
        if (why) *why = workbook_failure(f.xl_book, f.xl_app->error());
        return false;
    }
    abandon_workbook(f);
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
}
