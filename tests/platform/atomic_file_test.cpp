// SPDX-License-Identifier: MIT
#include "platform/atomic_file.h"

#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Hidden files of a folder: where our temporaries would be.
QStringList hidden_files(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
}

} // namespace

TEST(AtomicFile, TheFileAppearsOnlyWhenCommittedAndReplacesTheOldOneWhole) {
    QTemporaryDir dir;
    const QString target = dir.filePath("notes.kvo");
    {
        AtomicFile file(target);
        ASSERT_EQ(file.open().toStdString(), "");
        ASSERT_EQ(file.write("first version, rather long"), QString());
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_TRUE(QFileInfo::exists(file.temp_path()));
        EXPECT_EQ(QFileInfo(file.temp_path()).absolutePath(), QFileInfo(target).absolutePath());
        ASSERT_EQ(file.commit().toStdString(), "");
    }
    EXPECT_EQ(contents(target), "first version, rather long");

    // A shorter file replaces a longer one completely: no tail of the old one.
    ASSERT_EQ(write_file_atomically(target, "second").toStdString(), "");
    EXPECT_EQ(contents(target), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"notes.kvo"});
}

TEST(AtomicFile, AFileThatMustNotReplaceOneFailsWhenTheNameIsTakenWhileItIsWritten) {
    QTemporaryDir dir;
    const QString target = dir.filePath("rows-20240501-143210.xls");
    AtomicFile file(target, AtomicFile::Replace::never);
    ASSERT_EQ(file.open().toStdString(), "");
    ASSERT_EQ(file.write("this window's rows"), QString());
    put(target, "another window's rows"); // the other took the free name first
    EXPECT_TRUE(file.commit().endsWith(QString::fromLocal8Bit(std::strerror(EEXIST))));
    EXPECT_EQ(contents(target), "another window's rows");
}

TEST(AtomicFile, PositionalWritesFillAReservedFileInAnyOrder) {
    QTemporaryDir dir;
    const QString target = dir.filePath("rows.bin");
    AtomicFile file(target);
    ASSERT_EQ(file.open(), QString());
    ASSERT_EQ(file.reserve(12), QString());
    EXPECT_EQ(QFileInfo(file.temp_path()).size(), 12);
    ASSERT_EQ(file.write_at(8, "CCCC", 4), QString());
    ASSERT_EQ(file.write_at(0, "AAAA", 4), QString());
    ASSERT_EQ(file.write_at(4, "BBBB", 4), QString());
    ASSERT_EQ(file.commit().toStdString(), "");
    EXPECT_EQ(contents(target), "AAAABBBBCCCC");
}

TEST(AtomicFile, PiecesLandInOrderAndSurviveEarlyWritebackAndCacheDropping) {
    QTemporaryDir dir;
    const QString target = dir.filePath("pieces.bin");
    // More pieces than one system call takes (1024 on Linux), empty ones among them.
    std::vector<QByteArray> parts;
    QByteArray expected;
    for (int i = 0; i < 3000; ++i) {
        parts.push_back(i % 7 == 3 ? QByteArray() : QByteArray(1 + i % 5, char('a' + i % 26)));
        expected += parts.back();
    }
    std::vector<QByteArrayView> pieces(parts.begin(), parts.end());
    // The same bytes may be given several times.
    pieces.push_back(parts[1]);
    pieces.push_back(parts[1]);
    expected += parts[1] + parts[1];

    AtomicFile file(target);
    ASSERT_EQ(file.open(), QString());
    ASSERT_EQ(file.reserve(4 + expected.size()), QString());
    ASSERT_EQ(file.write_at(0, "head", 4), QString());
    ASSERT_EQ(file.write_pieces_at(4, pieces).toStdString(), "");
    file.start_writeback(0, 4 + expected.size());
    ASSERT_EQ(file.drop_after_writeback(0, 4 + expected.size()).toStdString(), "");
    EXPECT_EQ(contents(file.temp_path()), "head" + expected);
    ASSERT_EQ(file.commit().toStdString(), "");
    EXPECT_EQ(contents(target), "head" + expected);

    // Nothing to write is no failure; a file never opened is.
    AtomicFile unopened(dir.filePath("never.bin"));
    unopened.start_writeback(0, 100);
    EXPECT_NE(unopened.drop_after_writeback(0, 100), QString());
    const QString why = unopened.write_pieces_at(0, {});
    EXPECT_TRUE(why.contains("not open")) << why.toStdString();
}

TEST(AtomicFile, PiecesCutShortByAFullDiskFailWithTheReason) {
    QTemporaryDir dir;
    AtomicFile file(dir.filePath("short.bin"));
    ASSERT_EQ(file.open(), QString());
    const QByteArray a(600, 'a'), b(600, 'b'), c(600, 'c');
    const QByteArrayView pieces[] = {a, b, c};
    {
        // The first call stops inside the second piece; the next one fails.
        FileSizeLimit limit(1000);
        const QString why = file.write_pieces_at(0, pieces);
        EXPECT_TRUE(why.contains("File too large")) << why.toStdString();
    }
    EXPECT_EQ(contents(file.temp_path()), a + b.left(400));
}

TEST(AtomicFile, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    QTemporaryDir dir;

    // Into a folder that does not exist.
    AtomicFile missing(dir.filePath("gone/result.bmp"));
    const QString missed = missing.open();
    EXPECT_TRUE(missed.contains("No such file or directory")) << missed.toStdString();
    EXPECT_TRUE(missed.contains(dir.filePath("gone"))) << missed.toStdString();
    EXPECT_EQ(missing.write("x"), missed) << "first reason kept";
    EXPECT_EQ(missing.commit(), missed) << "first reason kept";

    // Under a path that is a regular file, not a folder: the file stays as it was.
    const QString plain = dir.filePath("plain.txt");
    put(plain, "keep me");
    const QString error = write_file_atomically(plain + "/result.bmp", "new");
    EXPECT_TRUE(error.contains("Not a directory")) << error.toStdString();
    EXPECT_EQ(contents(plain), "keep me");

    // The disk fills up halfway through: the old file is untouched, no temporary remains.
    const QString target = dir.filePath("picture.bmp");
    put(target, "old picture");
    {
        AtomicFile file(target);
        ASSERT_EQ(file.open(), QString());
        {
            FileSizeLimit limit(4096);
            EXPECT_NE(file.write(QByteArray(10000, 'x')), QString());
            EXPECT_NE(file.write_at(20000, "y", 1), QString());
            const QString why = file.reserve(1 << 20);
            EXPECT_TRUE(why.contains("File too large")) << why.toStdString();
        }
    }
    EXPECT_EQ(contents(target), "old picture");

    // The name is taken by a folder: everything is written, the rename fails.
    const QString folder = dir.filePath("taken");
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken/inside"));
    {
        AtomicFile file(folder);
        ASSERT_EQ(file.open(), QString());
        ASSERT_EQ(file.write("data"), QString());
        const QString why = file.commit();
        EXPECT_TRUE(why.contains("cannot replace")) << why.toStdString();
        EXPECT_TRUE(why.contains("Is a directory")) << why.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir());
    EXPECT_EQ(hidden_files(dir.path()), QStringList());
}

TEST(AtomicFile, AnAbandonedSaveLeavesNothingBehind) {
    QTemporaryDir dir;
    const QString target = dir.filePath("scale.kvo");
    put(target, "old scale");
    QString temp;
    {
        AtomicFile file(target);
        ASSERT_EQ(file.open(), QString());
        ASSERT_EQ(file.write("half a new sc"), QString());
        temp = file.temp_path();
        EXPECT_TRUE(QFileInfo::exists(temp));
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(contents(target), "old scale");
    EXPECT_EQ(hidden_files(dir.path()), QStringList());
}

TEST(AtomicFile, WritingInAFolderRemovesOnlyOurUnlockedLeftovers) {
    QTemporaryDir dir;
    const auto temp = [&](const char* letters) {
        return dir.filePath(AtomicFile::temp_prefix + QString(letters));
    };
    // Left by killed writes, whichever file they were for.
    const QStringList stale = {temp("a1B2c3"), temp("ZZZZZZ")};
    const QStringList others = {
        dir.filePath("t.kvo.kelvo-tmp-a1B2c3"), // not hidden: not ours
        temp("abc"),                            // not six letters and digits
        temp("abc-ef"),
        dir.filePath(".t.kvo.bak"),
    };
    for (const QString& name : stale + others)
        put(name, "x");
    // A write of another running program: its temporary file is locked.
    const QString busy = temp("busy01");
    put(busy, "half a picture");
    const int held = ::open(QFile::encodeName(busy).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // A link named like ours is not followed, nor removed.
    const QString outside = dir.filePath("outside.txt");
    put(outside, "keep");
    ASSERT_EQ(::symlink(QFile::encodeName(outside).constData(),
                        QFile::encodeName(temp("link01")).constData()),
              0);

    ASSERT_EQ(write_file_atomically(dir.filePath("t.kvo"), "new").toStdString(), "");
    for (const QString& name : stale)
        EXPECT_FALSE(QFileInfo::exists(name)) << name.toStdString();
    for (const QString& name : others + QStringList{busy, temp("link01"), outside})
        EXPECT_TRUE(QFileInfo::exists(name)) << name.toStdString();
    ::close(held);
    EXPECT_EQ(AtomicFile::remove_stale_temporaries(dir.path()), 1) << "once its writer let go";
}

TEST(AtomicFile, ANameAtTheFileSystemsLimitCanBeWrittenAndOneByteMoreIsTooLong) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QString(251, u'n') + ".bmp"); // 255 bytes
    ASSERT_EQ(write_file_atomically(target, "picture").toStdString(), "");
    EXPECT_EQ(contents(target), "picture");

    // Refused before anything is written, with the reason the user can act on.
    for (const QString& name : {QString(252, u'n') + ".bmp", QString(4100, u'/') + "n.bmp"}) {
        AtomicFile file(dir.path() + "/" + name);
        const QString why = file.open();
        EXPECT_TRUE(why.startsWith("file name too long")) << why.toStdString();
    }
    EXPECT_EQ(hidden_files(dir.path()), QStringList());
}

TEST(AtomicFile, ALinkIsWrittenThroughAndTheOldPermissionsKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("real"));
    const QString real = dir.filePath("real/results.xls");
    put(real, "old rows");
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0600), 0);
    // A link to a link, the first one relative.
    const QString hop = dir.filePath("hop.xls"), link = dir.filePath("results.xls");
    ASSERT_EQ(::symlink("real/results.xls", QFile::encodeName(hop).constData()), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(hop).constData(), QFile::encodeName(link).constData()),
              0);

    ASSERT_EQ(write_file_atomically(link, "new rows").toStdString(), "");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(hop).isSymLink());
    EXPECT_EQ(contents(real), "new rows");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A link to a file not there yet makes that file.
    const QString dangling = dir.filePath("later.kvo");
    ASSERT_EQ(::symlink("real/later.kvo", QFile::encodeName(dangling).constData()), 0);
    ASSERT_EQ(write_file_atomically(dangling, "scale").toStdString(), "");
    EXPECT_EQ(contents(dir.filePath("real/later.kvo")), "scale");
}

TEST(AtomicFile, NewFilesGetThePermissionsTheUmaskAllows) {
    QTemporaryDir dir;
    const mode_t saved = ::umask(0);
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
        ::umask(mask);
        const QString target = dir.filePath(QString("file-%1").arg(mask, 3, 8, QChar('0')));
        ASSERT_EQ(write_file_atomically(target, "x").toStdString(), "");
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "umask " << std::oct << mask;
    }
    ::umask(saved);
}
