#include "platform/atomic_file.h"

#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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
        ASSERT_TRUE(file.open()) << file.error().toStdString();
        ASSERT_TRUE(file.write("first version, rather long"));
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_TRUE(QFileInfo::exists(file.temp_path()));
        EXPECT_EQ(QFileInfo(file.temp_path()).absolutePath(), QFileInfo(target).absolutePath());
        ASSERT_TRUE(file.commit()) << file.error().toStdString();
    }
    EXPECT_EQ(contents(target), "first version, rather long");

    // A shorter file replaces a longer one completely: no tail of the old one.
    QString error;
    ASSERT_TRUE(write_file_atomically(target, "second", &error)) << error.toStdString();
    EXPECT_EQ(contents(target), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"notes.kvo"});
}

TEST(AtomicFile, PositionalWritesFillAReservedFileInAnyOrder) {
    QTemporaryDir dir;
    const QString target = dir.filePath("rows.bin");
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.reserve(12));
    EXPECT_EQ(QFileInfo(file.temp_path()).size(), 12);
    ASSERT_TRUE(file.write_at(8, "CCCC", 4));
    ASSERT_TRUE(file.write_at(0, "AAAA", 4));
    ASSERT_TRUE(file.write_at(4, "BBBB", 4));
    ASSERT_TRUE(file.commit()) << file.error().toStdString();
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
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.reserve(4 + expected.size()));
    ASSERT_TRUE(file.write_at(0, "head", 4));
    ASSERT_TRUE(file.write_pieces_at(4, pieces)) << file.error().toStdString();
    file.start_writeback(0, 4 + expected.size());
    ASSERT_TRUE(file.drop_after_writeback(0, 4 + expected.size())) << file.error().toStdString();
    EXPECT_EQ(contents(file.temp_path()), "head" + expected);
    ASSERT_TRUE(file.commit()) << file.error().toStdString();
    EXPECT_EQ(contents(target), "head" + expected);

    // Nothing to write is no failure; a file never opened is.
    AtomicFile unopened(dir.filePath("never.bin"));
    unopened.start_writeback(0, 100);
    EXPECT_FALSE(unopened.drop_after_writeback(0, 100));
    EXPECT_FALSE(unopened.write_pieces_at(0, {}));
    EXPECT_TRUE(unopened.error().contains("not open")) << unopened.error().toStdString();
}

TEST(AtomicFile, PiecesCutShortByAFullDiskFailWithTheReason) {
    QTemporaryDir dir;
    AtomicFile file(dir.filePath("short.bin"));
    ASSERT_TRUE(file.open());
    const QByteArray a(600, 'a'), b(600, 'b'), c(600, 'c');
    const QByteArrayView pieces[] = {a, b, c};
    {
        // The first call stops inside the second piece; the next one fails.
        FileSizeLimit limit(1000);
        EXPECT_FALSE(file.write_pieces_at(0, pieces));
    }
    EXPECT_TRUE(file.error().contains("File too large")) << file.error().toStdString();
    EXPECT_EQ(contents(file.temp_path()), a + b.left(400));
}

TEST(AtomicFile, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    QTemporaryDir dir;

    // Into a folder that does not exist.
    AtomicFile missing(dir.filePath("gone/result.bmp"));
    EXPECT_FALSE(missing.open());
    EXPECT_TRUE(missing.error().contains("No such file or directory"))
        << missing.error().toStdString();
    EXPECT_TRUE(missing.error().contains(dir.filePath("gone"))) << missing.error().toStdString();
    EXPECT_FALSE(missing.write("x"));
    EXPECT_FALSE(missing.commit());
    EXPECT_TRUE(missing.error().contains("No such file or directory")) << "first reason kept";

    // Under a path that is a regular file, not a folder: the file stays as it was.
    const QString plain = dir.filePath("plain.txt");
    put(plain, "keep me");
    QString error;
    EXPECT_FALSE(write_file_atomically(plain + "/result.bmp", "new", &error));
    EXPECT_TRUE(error.contains("Not a directory")) << error.toStdString();
    EXPECT_EQ(contents(plain), "keep me");

    // The disk fills up halfway through: the old file is untouched, no temporary remains.
    const QString target = dir.filePath("picture.bmp");
    put(target, "old picture");
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        {
            FileSizeLimit limit(4096);
            EXPECT_FALSE(file.write(QByteArray(10000, 'x')));
            EXPECT_FALSE(file.write_at(20000, "y", 1));
            EXPECT_FALSE(file.reserve(1 << 20));
        }
        EXPECT_TRUE(file.error().contains("File too large")) << file.error().toStdString();
    }
    EXPECT_EQ(contents(target), "old picture");

    // The name is taken by a folder: everything is written, the rename fails.
    const QString folder = dir.filePath("taken");
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken/inside"));
    {
        AtomicFile file(folder);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("data"));
        EXPECT_FALSE(file.commit());
        EXPECT_TRUE(file.error().contains("cannot replace")) << file.error().toStdString();
        EXPECT_TRUE(file.error().contains("Is a directory")) << file.error().toStdString();
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
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("half a new sc"));
        temp = file.temp_path();
        EXPECT_TRUE(QFileInfo::exists(temp));
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(contents(target), "old scale");
    EXPECT_EQ(hidden_files(dir.path()), QStringList());
}

TEST(AtomicFile, LeftoverCleanupRemovesOnlyThisTargetsTemporaries) {
    QTemporaryDir dir;
    const QString target = dir.filePath("t.kvo");
    const QStringList ours = {".t.kvo.kelvo-tmp-a1B2c3", ".t.kvo.kelvo-tmp-ZZZZZZ"};
    const QStringList others = {
        "t.kvo",                               // the target itself
        ".t.kvo.bak",                          // someone else's hidden file
        ".u.kvo.kelvo-tmp-a1B2c3",             // another target's temporary
        ".t.kvo.kelvo-tmp-x.kelvo-tmp-a1B2c3", // the temporary of "t.kvo.kelvo-tmp-x"
        "t.kvo.kelvo-tmp-a1B2c3",              // not hidden: not ours
        ".T.KVO.kelvo-tmp-a1B2c3",             // a different name, case matters
        ".t.kvo.kelvo-tmp-abc",                // not six characters: not made by mkstemp
    };
    for (const QString& name : ours + others)
        put(dir.filePath(name), "x");

    EXPECT_EQ(AtomicFile::remove_leftovers(target), 2);
    for (const QString& name : ours)
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : others)
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(name))) << name.toStdString();

    // Names with wildcard characters are taken literally.
    put(dir.filePath(".[t].kvo.kelvo-tmp-abcdef"), "x");
    put(dir.filePath(".t.kvo.kelvo-tmp-abcdef"), "x");
    EXPECT_EQ(AtomicFile::remove_leftovers(dir.filePath("[t].kvo")), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(".[t].kvo.kelvo-tmp-abcdef")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(".t.kvo.kelvo-tmp-abcdef")));
    put(dir.filePath(".a*.kvo.kelvo-tmp-abcdef"), "x");
    EXPECT_EQ(AtomicFile::remove_leftovers(dir.filePath("*.kvo")), 0);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(".a*.kvo.kelvo-tmp-abcdef")));
}

TEST(AtomicFile, NewFilesGetThePermissionsTheUmaskAllows) {
    QTemporaryDir dir;
    const mode_t saved = ::umask(0);
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
        ::umask(mask);
        const QString target = dir.filePath(QString("file-%1").arg(mask, 3, 8, QChar('0')));
        QString error;
        ASSERT_TRUE(write_file_atomically(target, "x", &error)) << error.toStdString();
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "umask " << std::oct << mask;
    }
    ::umask(saved);
}
