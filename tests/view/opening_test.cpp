// SPDX-License-Identifier: MIT
// Opening a picture while the window goes on: the first screenful early, the
// open as one step, input held meanwhile, and stepping through a folder.
#include "form/view_room.h"
#include "picture/picture_io.h"
#include "view/decode_ahead.h"
#include "view/folder_steps.h"
#include "view/picture_loading.h"
#include "view/zoom.h"
#include "view_fixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace {

class Opening : public ViewTest {
  protected:
    // A photo large enough that decoding it takes a while.
    QString photo(const QString& name, int width = 4000, int height = 2500) {
        const QString file = path(name);
        EXPECT_TRUE(test_picture(width, height).save(file, "JPG", 90));
        return file;
    }
    // Runs `during` from inside the open of `file`, once the window waits on it.
    PictureOpening open_with(const QString& file, const std::function<void()>& during) {
        QTimer::singleShot(0, f.get(), during);
        return open_picture_file(f->view_room(), file);
    }
};

TEST_F(Opening, ADamagedPhotoWithdrawsItsFirstScreenfulAndLeavesTheWindowAsItWas) {
    const QString shown = show_picture(1200, 900);
    f->HS_main->setValue(150);
    f->VS_main->setValue(100); // the part shown is read apart from the worker's rows
    const qint64 picture = f->P_in->picture().cacheKey();
    const QString status = f->status_text();
    const QString cut = photo("cut.jpg");
    QFile file(cut);
    ASSERT_TRUE(file.resize(file.size() * 6 / 10));
    // Shown at once, before the rest of the file is decoded. (Whether it is
    // also painted is a race: a worker that fails while the part is read
    // here leaves the window no turn of its event loop to paint it in.)
    struct EarlyShows : QObject {
        int count = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            count += e->type() == QEvent::Show && o->objectName() == "early_screenful";
            return false;
        }
    } early;
    qApp->installEventFilter(&early);
    const PictureOpening opening = open_picture_file(f->view_room(), cut);
    EXPECT_FALSE(opening.opened());
    EXPECT_GT(early.count, 0);
    EXPECT_EQ(f->P_out->findChild<QWidget*>(QStringLiteral("early_screenful")), nullptr);
    EXPECT_EQ(f->P_in->picture().cacheKey(), picture);
    EXPECT_EQ(f->pic_path, shown);
    EXPECT_EQ(f->HS_main->value(), 150);
    EXPECT_EQ(f->P_in->pos(), QPoint(-150, -100));
    EXPECT_EQ(f->VS_main->value(), 100);
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    EXPECT_EQ(f->status_text(), status); // the handler that opened it says it
    EXPECT_TRUE(opening.message.contains(QLatin1String("truncated")))
        << opening.message.toStdString();
}

TEST_F(Opening, ASecondOpenCancelsTheFirst) {
    show_window();
    const QString first = photo("first.jpg");
    const QString second = save_picture_file(test_picture(40, 30), "second.bmp");
    PictureOpening second_opening;
    const PictureOpening first_opening =
        open_with(first, [&] { second_opening = open_picture_file(f->view_room(), second); });
    EXPECT_FALSE(first_opening.opened());
    EXPECT_EQ(first_opening.message, QString()) << "the open that cancelled it says how it went";
    EXPECT_TRUE(second_opening.opened());
    EXPECT_EQ(f->pic_path, second);
    EXPECT_EQ(f->P_in->size(), QSize(40, 30));
    EXPECT_TRUE(second_opening.message.startsWith(QLatin1String("Opened second.bmp, 40 x 30")));
    EXPECT_EQ(f->P_out->findChild<QWidget*>(QStringLiteral("early_screenful")), nullptr);
}

TEST_F(Opening, AClickAndAClosingDuringAnOpenWaitForIt) {
    show_picture(100, 80);
    click(f->Option_tracer[0]);
    const QString next = photo("next.jpg");
    EXPECT_TRUE(open_with(next, [&] {
                    press(30, 20);
                    EXPECT_EQ(f->m_state, MeasuringState::no_start); // held, not taken yet
                    EXPECT_FALSE(f->close());
                }).opened());
    EXPECT_EQ(f->pic_path, next);
    EXPECT_EQ(f->m_state, MeasuringState::start_fixed);
    EXPECT_EQ(f->pt_x, 30.0f);
    EXPECT_EQ(f->pt_y, 20.0f);
    // The click landed on the new picture; the window closes after it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f->isVisible(); }, 2000));
}

TEST_F(Opening, NextAndPreviousStepThroughTheFolderInNaturalOrder) {
    for (const auto& [a, b] : {std::pair{"photo2.jpg", "photo10.jpg"},
                               {"Photo1.jpg", "photo2.jpg"},
                               {"a9b", "a10a"},
                               {"x007.bmp", "x8.bmp"},
                               {"x01", "x1"}})
        EXPECT_LT(natural_compare(QLatin1String(a), QLatin1String(b)), 0) << a << " " << b;
    show_window();
    const QStringList order{save_picture_file(test_picture(21, 11), "Photo1.bmp"),
                            save_picture_file(test_picture(22, 12), "photo2.png"),
                            photo("photo10.jpg", 23, 13)};
    QFile notes(path("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    open(order[0]);
    next_picture(f->view_room());
    EXPECT_EQ(f->pic_path, order[1]);
    // The next one, decoded ahead, changes before it is shown: read anew.
    ASSERT_TRUE(QTest::qWaitFor([&] { return decoded_ahead(f->view_room()) == order[2]; }, 5000));
    QTest::qWait(20); // a later change time than the decoded one's
    ASSERT_TRUE(test_picture(33, 17).save(order[2], "JPG"));
    QTest::keyClick(f.get(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(f->pic_path, order[2]);
    EXPECT_EQ(f->P_in->size(), QSize(33, 17));
    next_picture(f->view_room());
    EXPECT_EQ(f->pic_path, order[2]);
    EXPECT_TRUE(
        f->status_text().startsWith(QLatin1String("No next picture: photo10.jpg is the last")));
    for (int i : {1, 0}) {
        QTest::keyClick(f.get(), Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(f->pic_path, order[i]);
    }
    previous_picture(f->view_room());
    EXPECT_EQ(f->pic_path, order[0]);
    EXPECT_TRUE(f->status_text().startsWith(QLatin1String("No previous picture: Photo1.bmp")));
}

// Going through a folder, each picture is decoded into the memory of one shown
// before, ahead or not: no fresh pages, nothing of the old pixels left.
TEST_F(Opening, PicturesAreDecodedIntoTheMemoryOfThoseShownBefore) {
    show_window();
    QDir().mkpath(path("folder"));
    for (const char* name : {"folder/a1.jpg", "folder/a2.jpg", "folder/a3.jpg"})
        photo(name, 2000, 1500);
    const QString elsewhere = photo("b.jpg", 2000, 1500);
    ASSERT_TRUE(test_picture(2000, 1500).mirrored().save(elsewhere, "JPG", 90));
    open(path("folder/a1.jpg"));
    const uchar* first = f->full_picture.constBits();
    const auto ahead = [&](const char* name) {
        return QTest::qWaitFor([&] { return decoded_ahead(f->view_room()) == path(name); }, 5000);
    };
    ASSERT_TRUE(ahead("folder/a2.jpg"));
    next_picture(f->view_room());
    EXPECT_EQ(f->spare_memory.constBits(), first);
    // a3 decoded ahead into a1's memory, then dropped for a picture elsewhere.
    ASSERT_TRUE(ahead("folder/a3.jpg"));
    EXPECT_TRUE(f->spare_memory.isNull());
    open(elsewhere);
    EXPECT_EQ(f->full_picture.constBits(), first);
    EXPECT_EQ(f->full_picture, load_picture_reusing(elsewhere).image);
    // Nor is a photo's memory held beside a small picture.
    open(save_picture_file(test_picture(200, 100), "small.bmp"));
    EXPECT_TRUE(f->spare_memory.isNull());
}

// Beside the next picture decoded ahead the window keeps to two pictures and
// 32 MiB: a copy of tens of megabytes for a far zoom is let go of as the
// decoding ahead starts, and not made again while it is held.
TEST_F(Opening, AFarZoomKeepsNoLargeCopyBesideThePictureAhead) {
    show_window();
    QDir().mkpath(path("large"));
    const QImage picture = test_picture(8000, 2701); // at 10%, copied five by one: 16.5 MiB
    for (const char* name : {"large/a.jpg", "large/b.jpg"})
        ASSERT_TRUE(picture.save(path(name), "JPG", 50));
    open(path("large/a.jpg"));
    ASSERT_EQ(show_zoom(f->view_room(), 10), QString());
    EXPECT_FALSE(f->smaller_picture.isNull()) << "alone, the copy is made";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return decoded_ahead(f->view_room()) == path("large/b.jpg"); }, 20000));
    EXPECT_TRUE(f->smaller_picture.isNull());
    for (int percent : {20, 10})
        ASSERT_EQ(show_zoom(f->view_room(), percent), QString());
    EXPECT_TRUE(f->smaller_picture.isNull());
    EXPECT_EQ(f->P_in->size(), QSize(800, 270));
}

} // namespace
