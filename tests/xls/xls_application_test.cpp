// SPDX-License-Identifier: MIT
// Saving workbooks: repeated saves, failures, and what they leave behind.

#include "platform/atomic_file.h"

#include "test_files.h"
#include "xls/xls_application.h"

#include "../support/xls_readback.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unique_ptr<SpreadsheetApp> start_with_one_row() {
    QString error;
    auto app = XlsApplication::factory()(QStringLiteral("results.xls"), &error);
    EXPECT_NE(app, nullptr) << error.toStdString();
    EXPECT_TRUE(app->add_workbook());
    EXPECT_TRUE(app->active_sheet()->set_cell(1, 1, QStringLiteral("first")));
    return app;
}

TEST(XlsSaving, SavingAgainToTheSamePathReplacesTheWholeWorkbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    auto app = start_with_one_row();
    ASSERT_TRUE(app->save_as(path)) << app->error().toStdString();
    ASSERT_TRUE(app->active_sheet()->set_cell(2, 1, QStringLiteral("second")));
    ASSERT_TRUE(app->active_sheet()->set_cell(1, 1, QStringLiteral("first, edited")));
    ASSERT_TRUE(app->save_as(path)) << app->error().toStdString();

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
    EXPECT_FALSE(app->save_as(path));
    EXPECT_TRUE(app->error().contains(QStringLiteral("Not a directory")))
        << app->error().toStdString();

    // The workbook is untouched and saves elsewhere.
    const QString good = dir.filePath(QStringLiteral("results.xls"));
    ASSERT_TRUE(app->save_as(good)) << app->error().toStdString();
    EXPECT_TRUE(app->error().isEmpty());
    const ReadWorkbook book = read_xls(good);
    ASSERT_TRUE(book.ok()) << book.failure.toStdString();
    ASSERT_NE(book.at(1, 1), nullptr);
    EXPECT_EQ(book.at(1, 1)->text, QStringLiteral("first"));
}

TEST(XlsSaving, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    auto app = start_with_one_row();
    ASSERT_TRUE(app->save_as(path)) << app->error().toStdString();
    const QByteArray before = contents(path);
    ASSERT_TRUE(app->active_sheet()->set_cell(2, 1, QStringLiteral("second")));

    ReadOnlyFolder locked(dir.path());
    if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    const bool saved = app->save_as(path);
    locked.release();

    EXPECT_FALSE(saved);
    EXPECT_TRUE(app->error().contains(locked.reason())) << app->error().toStdString();
    EXPECT_EQ(contents(path), before) << "the old workbook stays as it was";
}

TEST(XlsSaving, WithoutAWorkbookThereIsNoSheetAndNothingToSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xls"));
    XlsApplication app;
    EXPECT_EQ(app.active_sheet(), nullptr);
    EXPECT_FALSE(app.save_as(path));
    EXPECT_TRUE(app.error().contains(QStringLiteral("no workbook")));
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(app.add_workbook());
    ASSERT_TRUE(app.active_sheet()->set_cell(1, 1, QStringLiteral("dropped")));
    app.quit();
    EXPECT_EQ(app.active_sheet(), nullptr);

    // A fresh workbook starts empty and still makes a valid file.
    ASSERT_TRUE(app.add_workbook());
    ASSERT_TRUE(app.save_as(path)) << app.error().toStdString();
    const ReadWorkbook book = read_xls(path);
    ASSERT_TRUE(book.ok()) << book.failure.toStdString();
    EXPECT_TRUE(book.cells.empty());
    EXPECT_TRUE(book.problems.isEmpty()) << book.problems.join(u'\n').toStdString();
}

} // namespace
