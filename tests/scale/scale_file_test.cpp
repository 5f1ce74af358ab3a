// SPDX-License-Identifier: MIT
// The scale definition file: 23 bytes, the scale as a little-endian single at
// offset 19, written atomically and read back converting the shown results.
#include "kelvo_fixture.h"
#include "test_files.h"

#include "scale/scale_file.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytes_of(const char* hex) {
    return QByteArray::fromHex(hex);
}

// 19 zero bytes, then the four given.
QByteArray file_holding(const char* last_four_hex) {
    return QByteArray(19, '\0') + bytes_of(last_four_hex);
}

class ScaleFile : public KelvoTest {
  protected:
    void save_as(const QString& typed_name) {
        dialogs.answer(typed_name);
        f->fl->trigger();
    }
    void open_defi(const QString& chosen) {
        dialogs.answer(chosen);
        f->fp->trigger();
    }
    static QByteArray read(const QString& file) {
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
        return in.readAll();
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        ASSERT_EQ(out.write(bytes), bytes.size());
    }
    QStringList files_in_folder() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(ScaleFile, SavingAtStartUpWritesTwentyThreeBytesEndingInOne) {
    save_as(path("start"));
    EXPECT_EQ(read(path("start.kvo")), file_holding("0000803f"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Save);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("Save data file"));
    EXPECT_EQ(dialogs.requests[0].pattern, QStringLiteral("*.kvo"));
    EXPECT_EQ(dialogs.requests[0].completion, QStringLiteral(".kvo"));
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale saved: start.kvo"));
    EXPECT_EQ(files_in_folder(), QStringList{QStringLiteral("start.kvo")}); // no temporary left

    f->unit_per_px = 0.05f;
    save_as(path("fine.kvo"));
    EXPECT_EQ(read(path("fine.kvo")), file_holding("cdcc4c3d"));
    f->unit_per_px = -2.0f;
    save_as(path("negative.kvo"));
    EXPECT_EQ(read(path("negative.kvo")), file_holding("000000c0"));
}

TEST_F(ScaleFile, SaveThenOpenConvertsTheResultsAndRedrawsTheBar) {
    f->P_in->resize(300, 200); // no scroll bars needed: the bar fits the picture
    f->HS_main->setEnabled(false);
    f->VS_main->setEnabled(false);
    f->unit_per_px = 0.05f;
    save_as(path("fine"));

    f->unit_per_px = 1.0f;
    f->Lb_x->setText(QStringLiteral("120.00"));
    f->Lb_y->setText(QStringLiteral("160.00"));
    f->Lb_d->setText(QStringLiteral("200.00"));
    f->Command_set->setText(QStringLiteral("point end")); // a calibration under way
    open_defi(path("fine.kvo"));
    EXPECT_EQ(f->unit_per_px, 0.05f);
    EXPECT_EQ(f->Lb_x->text(), QStringLiteral("6.00"));
    EXPECT_EQ(f->Lb_y->text(), QStringLiteral("8.00"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("10.00"));
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale: 0.05 per pixel (from fine.kvo)"));
    // 300 visible pixels at 0.05: 10 units are 200 pixels.
    EXPECT_EQ(f->L_div->text(), QStringLiteral("10"));
    EXPECT_EQ(f->Line_ax1->X1() - f->Line_ax0->X1(), 200.0f);
    // What loading leaves alone.
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("1.00/pixel"));
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("point end"));
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].kind, DialogKind::Open);
    EXPECT_EQ(dialogs.requests[1].title, QStringLiteral("Open data file"));
    EXPECT_EQ(dialogs.requests[1].pattern, QStringLiteral("*.kvo"));

    // The file round-trips bit for bit.
    save_as(path("again"));
    EXPECT_EQ(read(path("again.kvo")), read(path("fine.kvo")));
}

TEST_F(ScaleFile, NamesAreCompletedWithKvoOnTheirLastFourCharacters) {
    const struct {
        const char* typed;
        const char* written;
    } names[] = {{"scale", "scale.kvo"},
                 {"scale.KVO", "scale.KVO"},
                 {"scale.Kvo", "scale.Kvo"},
                 {"scale.kvo.bak", "scale.kvo.bak.kvo"},
                 {"scale.kv", "scale.kv.kvo"}};
    for (const auto& n : names) {
        save_as(path(QLatin1String(n.typed)));
        EXPECT_TRUE(QFileInfo::exists(path(QLatin1String(n.written)))) << n.written;
    }
    EXPECT_EQ(files_in_folder().size(), 5);

    // Opening a file called "plain" reads "plain.kvo" instead.
    write(path("plain"), file_holding("0000803e"));     // 0.25, never read
    write(path("plain.kvo"), file_holding("00000040")); // 2
    open_defi(path("plain"));
    EXPECT_EQ(f->unit_per_px, 2.0f);
}

TEST_F(ScaleFile, FilesHoldingNoUsableScaleChangeNothingAndSaySo) {
    const struct {
        const char* name;
        QByteArray bytes;
        const char* said;
    } files[] = {
        {"empty.kvo", QByteArray(),
         "too short to hold a scale (0 bytes, where a scale file has 23)"},
        {"short.kvo", QByteArray(18, '\x7f'), "too short to hold a scale (18 bytes"},
        {"zeros.kvo", QByteArray(23, '\0'), "zero"},
        {"nan.kvo", file_holding("0000c07f"), "not a number"},
        {"infinite.kvo", file_holding("0000807f"), "infinite"},
        {"huge.kvo", file_holding("ffff7f7f"), "too large"},
        // Two of the four bytes: the rest count as zero, a denormal remains.
        {"cut.kvo", QByteArray(19, '\0') + bytes_of("cdcc"), "too short to hold a scale (21"},
        {"denormal.kvo", file_holding("cdcc0000"), "holds a scale that is too close to zero"},
    };
    f->Lb_d->setText(QStringLiteral("200.00"));
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        write(path(QLatin1String(file.name)), file.bytes);
        f->L_div->setText(QStringLiteral("untouched"));
        open_defi(path(QLatin1String(file.name)));
        EXPECT_EQ(f->unit_per_px, 1.0f);
        EXPECT_EQ(f->Lb_d->text(), QStringLiteral("200.00"));
        EXPECT_EQ(f->L_div->text(), QStringLiteral("untouched"));
        EXPECT_TRUE(f->status_text().contains(path(QLatin1String(file.name))));
        EXPECT_TRUE(f->status_text().contains(QLatin1String(file.said)))
            << f->status_text().toStdString();
    }
}

TEST_F(ScaleFile, OnlyTheFourBytesAtNineteenCountAndNegativeScalesLoad) {
    QByteArray bytes(40, '\xAB');                          // noise before and after the scale
    std::memcpy(bytes.data() + 19, "\x00\x00\x00\xc0", 4); // -2
    write(path("noisy.kvo"), bytes);
    f->Lb_d->setText(QStringLiteral("200.00"));
    open_defi(path("noisy.kvo"));
    EXPECT_EQ(f->unit_per_px, -2.0f);
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("-400.00"));
    EXPECT_EQ(f->status_text(),
              QStringLiteral(
                  "Scale: -2 per pixel (from noisy.kvo, 40 bytes, where a scale file has 23)"));
}

TEST_F(ScaleFile, OpeningANameWithoutAFileCreatesNothingAndSaysWhy) {
    open_defi(path("missing"));
    EXPECT_FALSE(QFileInfo::exists(path("missing.kvo")));
    EXPECT_TRUE(files_in_folder().isEmpty());
    EXPECT_EQ(f->unit_per_px, 1.0f);
    EXPECT_TRUE(f->status_text().contains(path("missing.kvo"))) << f->status_text().toStdString();

    // A folder is no scale file either.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.kvo")));
    open_defi(path("folder.kvo"));
    EXPECT_EQ(f->unit_per_px, 1.0f);
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("Could not read ")));
    EXPECT_TRUE(f->status_text().contains(path("folder.kvo")));

    // Nor a named pipe, refused at once instead of waiting for a writer.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.kvo")).constData(), 0600), 0);
    open_defi(path("pipe.kvo"));
    EXPECT_EQ(f->unit_per_px, 1.0f);
    EXPECT_TRUE(f->status_text().contains(QStringLiteral("pipe.kvo: not a file")))
        << f->status_text().toStdString();
}

TEST_F(ScaleFile, CancelInEitherDialogDoesNothing) {
    dialogs.cancel();
    f->fl->trigger();
    dialogs.cancel();
    f->fp->trigger();
    EXPECT_TRUE(files_in_folder().isEmpty());
    EXPECT_EQ(f->unit_per_px, 1.0f);
    EXPECT_TRUE(f->status_text().isEmpty());
    EXPECT_EQ(dialogs.unexpected, 0);
}

TEST_F(ScaleFile, SavingReplacesAnExistingFile) {
    write(path("old.kvo"), QByteArray(100, 'x'));
    f->unit_per_px = 0.05f;
    save_as(path("old.kvo"));
    EXPECT_EQ(read(path("old.kvo")), file_holding("cdcc4c3d"));
}

TEST_F(ScaleFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    // A name as long as the file system allows, on a disk that fills up.
    const QString name = QString(251, QLatin1Char('s')) + QStringLiteral(".kvo");
    const QByteArray old = file_holding("00000040");
    write(path(name), old);
    f->unit_per_px = 0.05f;
    {
        FileSizeLimit full(10);
        save_as(path(name));
    }
    EXPECT_EQ(read(path(name)), old);
    EXPECT_TRUE(f->status_text().startsWith(QStringLiteral("Could not write ")));
    EXPECT_TRUE(f->status_text().contains(path(name)));
    EXPECT_EQ(files_in_folder(), QStringList{name});

    // Saved again it works, and the success replaces the failure.
    save_as(path(name));
    EXPECT_EQ(read(path(name)), file_holding("cdcc4c3d"));
    EXPECT_EQ(f->status_text(), QStringLiteral("Scale saved: ") + name);
}

TEST_F(ScaleFile, AWriteIntoAReadOnlyFolderKeepsTheOldFileAndSaysSo) {
    const QString folder = path("locked");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    const QString target = folder + QStringLiteral("/scale.kvo");
    const QByteArray old = file_holding("00000040");
    write(target, old);
    ReadOnlyFolder locked(folder);
    if (!locked.holds()) GTEST_SKIP() << "this file system lets root write anywhere";
    f->unit_per_px = 0.05f;
    save_as(target);
    EXPECT_EQ(read(target), old);
    EXPECT_TRUE(f->status_text().contains(target));
    EXPECT_TRUE(f->status_text().contains(locked.reason())) << f->status_text().toStdString();
}

TEST(ScaleFileFormat, TheScaleSitsLittleEndianAtNineteen) {
    EXPECT_EQ(scale_file_bytes(1.0f), file_holding("0000803f"));
    EXPECT_EQ(scale_file_bytes(0.05f), file_holding("cdcc4c3d"));
    EXPECT_EQ(scale_in_file(file_holding("cdcc4c3d")), 0.05f);
    EXPECT_EQ(scale_in_file(QByteArray(19, '\x55')), 0.0f);
    // Missing bytes count as zero: only the low byte is there.
    EXPECT_EQ(scale_in_file(QByteArray(19, '\0') + bytes_of("01")),
              std::numeric_limits<float>::denorm_min());
    for (float s : {1.0f, 0.05f, -3.5e-20f, 1e30f, std::numeric_limits<float>::min()})
        EXPECT_EQ(scale_in_file(scale_file_bytes(s)), s);
}

} // namespace
