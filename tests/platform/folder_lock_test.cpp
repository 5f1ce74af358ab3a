// SPDX-License-Identifier: MIT
#include "platform/folder_lock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FolderLock, ALockHeldElsewhereIsWaitedForThenNamedForWhatItMayBe) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("rows.xls"));
    const FolderLock first(book);
    ASSERT_TRUE(first.held());
    const FolderLock second(book, 100); // another open of the folder: another holder
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.error().startsWith(
        QStringLiteral("another kelvo window or another program kept the folder")))
        << second.error().toStdString();
}

TEST(FolderLock, ASecondHolderWaitsAndThenSaysWhoKeptTheFolder) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("book.xls"));
    const FolderLock first(file);
    ASSERT_TRUE(first.held()) << first.error().toStdString();
    const FolderLock second(file, 100);
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.error().contains(dir.path())) << second.error().toStdString();
}
