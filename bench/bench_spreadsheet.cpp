// SPDX-License-Identifier: MIT
// Writing a result row as the user does it ("to Excel"): the cells typed into
// the workbook and the whole workbook saved atomically, with fsync and
// rename, because a row must be on disk before the cross-hair turns green.
// Goal: under 20 ms for one row into a workbook that already holds 1,000 rows.
// A workbook at the format's limit of 65,536 rows still saves, and one row
// more is refused with a message.

#include "app/main_window.h"
#include "form/output_room.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_session.h"
#include "platform/file_dialogs.h"
#include "scripted_dialogs.h"
#include "workbook/xls_application.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

// A main window with a picture path and results, and an open workbook whose
// rows 3 .. last_row are filled (typed straight into the sheet: the set-up is
// not what is measured).
struct OpenWorkbook {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<F_main> f;

    explicit OpenWorkbook(int last_row) {
        f = make_main_window(dialogs, XlsApplication::factory());
        f->pic_path = QStringLiteral("/home/user/pictures/series_b/sample_00042.jpg");
        f->Lb_x->setText(QStringLiteral("1234.57"));
        f->Lb_y->setText(QStringLiteral(".50"));
        f->Lb_d->setText(QStringLiteral("1234.57"));
        f->Lb_x->set_fore_colour(255);
        dialogs.answer(dir.filePath(QStringLiteral("results")));
        Command_excel_Click(f->output_room()); // asks for the name, saves banner, header and row 3
        SpreadsheetSheet& sheet = *f->workbook->xl_app->active_sheet();
        for (int row = 4; row <= last_row; ++row) {
            sheet.set_cell(row, 1, f->pic_path);
            sheet.set_cell(row, 2, QStringLiteral("%1.25").arg(row % 997));
            sheet.set_font_colour(row, 2, row % 3 ? 0 : 255);
            sheet.set_cell(row, 3, QStringLiteral("-%1.50").arg(row % 89));
            sheet.set_cell(row, 4, QStringLiteral("%1.00").arg(row * 7 % 1000));
            if (row % 4 == 0) sheet.set_cell(row, 5, QStringLiteral("second look %1").arg(row));
        }
        f->workbook->xl_row = last_row + 1;
    }
    ~OpenWorkbook() {
        if (f) f->close();
    }
};

void fail_unless_saved(benchmark::State& state, F_main& f, int row) {
    if (f.workbook->xl_row != row + 1 || !f.status_text().startsWith(QStringLiteral("Row")) ||
        !f.status_text().contains(QStringLiteral("saved")))
        state.SkipWithError(f.status_text().toUtf8().constData());
}

// One more row after 1,000: typed, then the whole workbook saved. The row is
// written to the same place every time so the workbook keeps its size.
void WriteRowInto1000RowWorkbook(benchmark::State& state) {
    OpenWorkbook s(1002);
    for (auto _ : state) {
        s.f->workbook->xl_row = 1003;
        s.f->Text_comment->setPlainText(QStringLiteral("measured twice"));
        Command_excel_Click(s.f->output_room());
    }
    fail_unless_saved(state, *s.f, 1003);
}
BENCHMARK(WriteRowInto1000RowWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime();

// The last row the format holds, with the 65,535 before it.
void WriteLastRowOfAFullWorkbook(benchmark::State& state) {
    OpenWorkbook s(65535);
    for (auto _ : state) {
        s.f->workbook->xl_row = 65536;
        Command_excel_Click(s.f->output_room());
    }
    fail_unless_saved(state, *s.f, 65536);
}
BENCHMARK(WriteLastRowOfAFullWorkbook)->Unit(benchmark::kMillisecond)->UseRealTime();

// One row more than the format holds: refused at once, with a message.
void RowBeyondTheLimitIsRefused(benchmark::State& state) {
    OpenWorkbook s(3);
    for (auto _ : state) {
        s.f->workbook->xl_row = 65537;
        Command_excel_Click(s.f->output_room());
    }
    if (s.f->workbook->xl_row != 65537 || !s.f->status_text().contains(QStringLiteral("65536")))
        state.SkipWithError("the row beyond the limit was not refused with a message");
    state.SetLabel(s.f->status_text().toStdString());
}
BENCHMARK(RowBeyondTheLimitIsRefused)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The pictures opened go to the recent list of a settings folder of the
    // run, never the user's own.
    QTemporaryDir settings;
    ::setenv("XDG_CONFIG_HOME", qPrintable(settings.path()), 1);
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
