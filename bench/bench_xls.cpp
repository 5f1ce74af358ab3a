// SPDX-License-Identifier: MIT
// Saving result workbooks: the program saves the whole workbook after every
// measured row, so one more row plus the save must stay quick.

#include "platform/atomic_file.h"
#include "workbook/xls_application.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void type_result_row(SpreadsheetSheet& sheet, int row) {
    sheet.set_cell(
        row, 1,
        QStringLiteral("C:\\pictures\\series_b\\sample_%1.bmp").arg(row, 5, 10, QChar(u'0')));
    sheet.set_cell(row, 2, QStringLiteral("%1.50").arg(row % 997));
    sheet.set_font_colour(row, 2, 255);
    sheet.set_cell(row, 3, QStringLiteral("-%1.25").arg(row % 89));
    sheet.set_font_colour(row, 3, 0);
    sheet.set_cell(row, 4, QStringLiteral("%1.00").arg(row * 7 % 1000));
    if (row % 4 == 0) sheet.set_cell(row, 5, QStringLiteral("needs a second look %1").arg(row));
}

// Banner, header and rows 3 .. last_row.
XlsApplication& fill(XlsApplication& app, int last_row) {
    app.add_workbook();
    SpreadsheetSheet& sheet = *app.active_sheet();
    sheet.set_cell(1, 1, QStringLiteral("'- kelvo version 0.02 -"));
    const char* header[] = {"filename", "X", "Y", "D", "comment"};
    for (int c = 0; c < 5; ++c)
        sheet.set_cell(2, c + 1, QLatin1String(header[c]));
    for (int row = 3; row <= last_row; ++row)
        type_result_row(sheet, row);
    return app;
}

void BM_OneMoreRowAndSave_1000Rows(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    XlsApplication app;
    fill(app, 1002);
    for (auto _ : state) {
        type_result_row(*app.active_sheet(), 1003);
        if (const QString why = app.save_as(path); !why.isEmpty())
            state.SkipWithError(why.toUtf8().constData());
    }
}
BENCHMARK(BM_OneMoreRowAndSave_1000Rows)->Unit(benchmark::kMillisecond);

void BM_Encode_1000Rows(benchmark::State& state) {
    XlsApplication app;
    fill(app, 1002);
    const auto& workbook = static_cast<const xls::Workbook&>(*app.active_sheet());
    for (auto _ : state) {
        benchmark::DoNotOptimize(workbook.encode());
    }
}
BENCHMARK(BM_Encode_1000Rows)->Unit(benchmark::kMillisecond);

// The same file written with no workbook work at all: what the disk's sync
// costs, for comparison with the case above.
void BM_AtomicWriteOnly_1000Rows(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    XlsApplication app;
    fill(app, 1003);
    const QByteArray bytes = static_cast<const xls::Workbook&>(*app.active_sheet()).encode().bytes;
    for (auto _ : state)
        if (const QString why = write_file_atomically(path, bytes); !why.isEmpty())
            state.SkipWithError(why.toUtf8().constData());
}
BENCHMARK(BM_AtomicWriteOnly_1000Rows)->Unit(benchmark::kMillisecond);

void BM_SaveFullSheet_65536Rows(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    XlsApplication app;
    fill(app, 65536);
    for (auto _ : state)
        if (const QString why = app.save_as(path); !why.isEmpty())
            state.SkipWithError(why.toUtf8().constData());
}
BENCHMARK(BM_SaveFullSheet_65536Rows)->Unit(benchmark::kMillisecond);

} // namespace
