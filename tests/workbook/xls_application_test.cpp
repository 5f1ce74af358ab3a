// SPDX-License-Identifier: MIT
// Saving workbooks: repeated saves, failures, and what they leave behind.

#include "platform/atomic_file.h"

#include "test_files.h"
#include "workbook/xls_application.h"

#include "../support/xls_readback.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unique_ptr<SpreadsheetApp> start_with_one_row() {
    auto [app, error] = XlsApplication::factory()(QStringLiteral("results.xls"));
    EXPECT_NE(app, nullptr) << error.toStdString();
    EXPECT_EQ(app->add_workbook(), QString());
    EXPECT_EQ(app->active_sheet()->set_cell(1, 1, QStringLiteral("first")).error, QString());
    return std::move(app);
}

TEST(XlsSaving, SavingAgainToTheSamePathReplacesTheWholeWorkbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    auto app = start_with_one_row();
    ASSERT_EQ(app->save_as(path).toStdString(), "");
    ASSERT_EQ(app->active_sheet()->set_cell(2, 1, QStringLiteral("second")).error, QString());
    ASSERT_EQ(app->active_sheet()->set_cell(1, 1, QStringLiteral("first, edited")).error,
              QString());
    ASSERT_EQ(app->save_as(path).toStdString(), "");

    const ReadWorkbook book = read_xls(path);
    ASSERT_TRUE(book.ok()) << book.failure.toStdString();
    ASSERT_NE(book.at(1, 1), nullptr);
    EXPECT_EQ(book.at(1, 1)->text, QStringLiteral("first, edited"));
    ASSERT_NE(book.at(2, 1), nullptr);
    EXPECT_EQ(book.at(2, 1)->text, QStringLiteral("second"));
    EXPECT_EQ(book.cells.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("results.xls")})
        << "no temporary file stays behind";
}

TEST(XlsSaving, SaveUnderSomethingThatIsNoFolderFailsAndSaysWhy) {
    QTemporaryDir dir;
    const QString plain_file = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile f(plain_file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString path = plain_file + QStringLiteral("/results.xls");
    auto app = start_with_one_row();
    const QString why = app->save_as(path);
    EXPECT_TRUE(why.contains(QStringLiteral("Not a directory"))) << why.toStdString();

    // The workbook is untouched and saves elsewhere.
    const QString good = dir.filePath(QStringLiteral("results.xls"));
    ASSERT_EQ(app->save_as(good).toStdString(), "");
    const ReadWorkbook book = read_xls(good);
    ASSERT_TRUE(book.ok()) << book.failure.toStdString();
    ASSERT_NE(book.at(1, 1), nullptr);
    EXPECT_EQ(book.at(1, 1)->text, QStringLiteral("first"));
}

TEST(XlsSaving, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    auto app = start_with_one_row();
    ASSERT_EQ(app->save_as(path).toStdString(), "");
    const QByteArray before = contents(path);
    ASSERT_EQ(app->active_sheet()->set_cell(2, 1, QStringLiteral("second")).error, QString());

    ReadOnlyFolder locked(dir.path());
    if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    const QString why = app->save_as(path);
    locked.release();

    EXPECT_TRUE(why.contains(locked.reason())) << why.toStdString();
    EXPECT_EQ(contents(path), before) << "the old workbook stays as it was";
}

TEST(XlsSaving, WithoutAWorkbookThereIsNoSheetAndNothingToSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    XlsApplication app;
    EXPECT_EQ(app.active_sheet(), nullptr);
    EXPECT_TRUE(app.save_as(path).contains(QStringLiteral("no workbook")));
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_EQ(app.add_workbook(), QString());
    ASSERT_EQ(app.active_sheet()->set_cell(1, 1, QStringLiteral("dropped")).error, QString());
    app.quit();
    EXPECT_EQ(app.active_sheet(), nullptr);

    // A fresh workbook starts empty and still makes a valid file.
    ASSERT_EQ(app.add_workbook(), QString());
    ASSERT_EQ(app.save_as(path).toStdString(), "");
    const ReadWorkbook book = read_xls(path);
    ASSERT_TRUE(book.ok()) << book.failure.toStdString();
    EXPECT_TRUE(book.cells.empty());
    EXPECT_TRUE(book.problems.isEmpty()) << book.problems.join(u'\n').toStdString();
}

} // namespace
