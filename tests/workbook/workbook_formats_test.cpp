// SPDX-License-Identifier: MIT
// The .xlsx and .csv workbooks: the cells of an .xls, read back by readers of
// their own (openpyxl, Python's csv module).

#include "workbook/workbook_formats.h"

#include "workbook/csv_application.h"

#include "test_files.h"

#include "../support/xls_readback.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// Rows as the program writes them, and the cells that try the writers.
void type_rows(SpreadsheetSheet& sheet) {
    const char* rows[][5] = {
        {"'- kelvo version 0.02 -"},
        {"filename", "X", "Y", "D", "comment"},
        {"/pictures/a, \"b\".bmp", ".50", "30.00", "-1234.57", "two\r\nlines"},
        {"Ähre 象", "12", "007", "3.14159", ""},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5 && rows[r][c]; ++c)
            ASSERT_EQ(sheet.set_cell(r + 1, c + 1, QString::fromUtf8(rows[r][c])).error, QString());
    ASSERT_EQ(sheet.set_font_colour(3, 2, 255), QString());
    ASSERT_EQ(sheet.set_font_colour(3, 3, 0), QString());
    ASSERT_EQ(sheet.set_font_colour(3, 4, spreadsheet::window_text_colour), QString());
    ASSERT_EQ(sheet.set_font_colour(4, 3, 0x0000FF00u), QString()); // green
}

QString save(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    auto [app, error] = workbook_applications()(path);
    EXPECT_NE(app, nullptr) << error.toStdString();
    EXPECT_EQ(app->add_workbook(), QString());
    type_rows(*app->active_sheet());
    EXPECT_EQ(app->save_as(path).toStdString(), "");
    return path;
}

ReadWorkbook read_back(const QString& path) {
    ReadWorkbook book = read_xls(path);
    EXPECT_TRUE(book.ok()) << book.failure.toStdString();
    EXPECT_TRUE(book.problems.isEmpty()) << book.problems.join(u'\n').toStdString();
    return book;
}

TEST(WorkbookFormats, AnXlsxHoldsTheCellsOfTheXlsWithTheirTypesFormatsAndColours) {
    QTemporaryDir dir;
    const ReadWorkbook xls = read_back(save(dir, QStringLiteral("rows.xls")));
    const ReadWorkbook xlsx = read_back(save(dir, QStringLiteral("rows.XLSX")));
    ASSERT_EQ(xls.cells.size(), 15u);
    ASSERT_EQ(xlsx.cells.size(), xls.cells.size());
    for (const auto& [at, cell] : xls.cells) {
        const ReadCell* other = xlsx.at(at.first, at.second);
        ASSERT_NE(other, nullptr) << at.first << "," << at.second;
        const auto key = [](const ReadCell& c) {
            return std::tuple(c.type, c.text, c.number, c.colour, c.format, c.wrap);
        };
        EXPECT_EQ(key(*other), key(cell)) << at.first << "," << at.second;
    }
    EXPECT_EQ(xlsx.at(3, 2)->colour, QStringLiteral("#FF0000"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"rows.xls", "rows.XLSX"}))
        << "no temporary file stays behind";
}

TEST(WorkbookFormats, ACsvHoldsTheRowsAsShownQuotedWhereNeeded) {
    QTemporaryDir dir;
    const QString path = save(dir, QStringLiteral("rows.csv"));
    // Text a spreadsheet would take for a formula gets an apostrophe; numbers never.
    EXPECT_EQ(contents(path), QString::fromUtf8("'- kelvo version 0.02 -,,,,\r\n"
                                                "filename,X,Y,D,comment\r\n"
                                                "\"/pictures/a, \"\"b\"\".bmp\",0.50,30.00,"
                                                "-1234.57,\"two\nlines\"\r\n"
                                                "Ähre 象,12,007,3.14159,\r\n")
                                  .toUtf8());
    const ReadWorkbook book = read_back(path);
    EXPECT_EQ(book.at(3, 1)->text, QStringLiteral("/pictures/a, \"b\".bmp"));
    EXPECT_EQ(book.at(3, 5)->text, QStringLiteral("two\nlines"));

    CsvApplication csv;
    ASSERT_EQ(csv.add_workbook(), QString());
    const char* formulas[] = {"=1+1", "+cmd", "-x", "@SUM(A1)", "\tz", "+7"};
    for (int col = 1; col <= 6; ++col)
        ASSERT_EQ(csv.active_sheet()->set_cell(1, col, QLatin1String(formulas[col - 1])).error,
                  QString());
    ASSERT_EQ(csv.active_sheet()->set_cell(1, 7, QStringLiteral("-2.5")).error, QString());
    ASSERT_EQ(csv.save_as(path), QString());
    EXPECT_EQ(contents(path), QByteArray("'=1+1,'+cmd,'-x,'@SUM(A1),'\tz,'+7,-2.5\r\n"));
}

TEST(WorkbookFormats, AWriteTheSystemRefusesIsSaidInTheSystemsWordsInEveryFormat) {
    QTemporaryDir dir;
    // A file size limit fails the writes as a full disk would, with a reason of its own.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QStringList said;
    for (const char* name : {"big.xls", "big.xlsx", "big.csv"}) {
        auto app = workbook_applications()(dir.filePath(QLatin1String(name))).app;
        ASSERT_EQ(app->add_workbook(), QString());
        ASSERT_EQ(app->active_sheet()->set_cell(1, 1, QString(3000, u'x')).error, QString());
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        said << app->save_as(dir.filePath(QLatin1String(name)));
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    }
    for (const QString& why : said)
        EXPECT_TRUE(why.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
            << why.toStdString();
}

} // namespace
