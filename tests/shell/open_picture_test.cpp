#include "kelvo_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

namespace {

using OpenPicture = KelvoTest;

TEST_F(OpenPicture, AChosenPictureShowsAtItsOwnSize) {
    const QImage picture = test_picture(300, 200);
    const QString file = save_picture_file(picture, "first.bmp");
    open(file);
    EXPECT_EQ(f->pic_path, file);
    EXPECT_EQ(f->P_in->size(), QSize(300, 200));
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->P_in->picture(), picture);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Open);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("Open data file"));
    EXPECT_EQ(dialogs.requests[0].pattern, QStringLiteral("*.bmp;*.jpg"));
}

TEST_F(OpenPicture, CancelChangesNothing) {
    const QString file = save_picture_file(test_picture(120, 80), "keep.bmp");
    open(file);
    const QImage before = f->P_in->picture();
    dialogs.cancel();
    f->fo->trigger();
    EXPECT_EQ(f->pic_path, file);
    EXPECT_EQ(f->P_in->size(), QSize(120, 80));
    EXPECT_EQ(f->P_in->picture(), before);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_TRUE(f->status_text().isEmpty());
}

TEST_F(OpenPicture, AFileThatIsNoPictureKeepsTheOldOneAndSaysWhy) {
    const QString good = save_picture_file(test_picture(64, 48), "good.jpg");
    open(good);
    const QImage before = f->P_in->picture();
    const QString bad = path("broken.jpg");
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF garbage that only starts like a JPEG");
    }
    open(bad);
    EXPECT_EQ(f->pic_path, good);
    EXPECT_EQ(f->P_in->picture(), before);
    EXPECT_TRUE(f->status_text().contains(bad)) << f->status_text().toStdString();
}

TEST_F(OpenPicture, APhotoCutShortKeepsALargePictureShown) {
    // Large enough (36 MB decoded) to be let go before the next is decoded.
    const QImage large = test_picture(3000, 3000);
    const QString good = save_picture_file(large, "large.bmp");
    open(good);
    ASSERT_EQ(f->P_in->size(), QSize(3000, 3000));
    const QString whole = save_picture_file(test_picture(3000, 3000), "whole.jpg");
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString cut = path("cut.jpg");
    {
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(in.readAll().left(in.size() / 3));
    }
    open(cut);
    EXPECT_EQ(f->pic_path, good);
    EXPECT_EQ(f->P_in->picture(), large);
    EXPECT_TRUE(f->status_text().contains(cut)) << f->status_text().toStdString();
}

TEST_F(OpenPicture, TheScaleAndTheResultsStayInForce) {
    f->unit_per_px = 0.43f;
    f->Text_scale->setText(QStringLiteral("0.43/pixel"));
    f->Lb_d->setText(QStringLiteral("12.00"));
    open(save_picture_file(test_picture(50, 50), "a.png"));
    EXPECT_EQ(f->unit_per_px, 0.43f);
    EXPECT_EQ(f->Text_scale->text(), QStringLiteral("0.43/pixel"));
    EXPECT_EQ(f->Lb_d->text(), QStringLiteral("12.00"));
}

} // namespace
