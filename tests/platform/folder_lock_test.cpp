// SPDX-License-Identifier: MIT
#include "platform/folder_lock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(FolderLock, ALockHeldElsewhereIsWaitedForThenNamedForWhatItMayBe) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("rows.xls"));
    const FolderLock first(book);
    ASSERT_TRUE(first.held()) << first.error().toStdString();
    const FolderLock second(book, 100); // another open of the folder: another holder
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.error().startsWith(
        QStringLiteral("another kelvo window or another program kept the folder")))
        << second.error().toStdString();
    EXPECT_TRUE(second.error().contains(dir.path())) << second.error().toStdString();
}

TEST(FolderLock, ADropBoxIsSavedToWithoutTheLockRatherThanRefused) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(folder.constData(), 0333), 0); // written and searched, never listed
    // Root opens any folder: the test looks as nobody does.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const FolderLock lock(dir.filePath(QStringLiteral("rows.xls")));
    const bool held = lock.held();
    const QString why = lock.error();
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    ::chmod(folder.constData(), 0700);
    EXPECT_FALSE(held);
    EXPECT_TRUE(why.isEmpty()) << why.toStdString();
}
