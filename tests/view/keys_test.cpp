// SPDX-License-Identifier: MIT
// The keys that scroll the picture, and Open recent.

#include "kelvo_fixture.h"

#include "form/view_room.h"
#include "platform/recent_pictures.h"
#include "view/recent_menu.h"

#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

class Keys : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window();
        activate();
    }
    void activate() {
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : f.get();
        QTest::keyClick(to, Qt::Key(key), modifiers);
    }
};

TEST_F(Keys, PageHomeEndAndArrowsScrollUnlessATextBoxOrOptionButtonHasTheFocus) {
    open(save_picture_file(test_picture(2000, 1500), "big.bmp"));
    QScrollBar* v = f->VS_main;
    QScrollBar* h = f->HS_main;
    const QSize viewport = f->P_out->size();
    key(Qt::Key_PageDown);
    key(Qt::Key_Down);
    EXPECT_EQ(v->value(), viewport.height() + viewport.height() / 10);
    key(Qt::Key_End);
    EXPECT_EQ(f->P_in->y(), -v->maximum());
    key(Qt::Key_PageDown, Qt::ShiftModifier);
    key(Qt::Key_Right);
    EXPECT_EQ(h->value(), viewport.width() + viewport.width() / 10);
    key(Qt::Key_Home, Qt::ShiftModifier);
    key(Qt::Key_Home);
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));

    f->Text_scale->setFocus();
    for (int k : {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_End})
        key(k);
    f->Option_tracer[0]->setFocus();
    key(Qt::Key_Down);
    EXPECT_TRUE(f->Option_tracer[1]->isChecked());
    EXPECT_EQ(f->P_in->pos(), QPoint(0, 0));
}

TEST_F(Keys, OpenRecentListsTheLastEightNewestFirstAndDropsAMissingFileWithAWord) {
    for (const QString& file : recent_pictures())
        forget_recent_picture(file);
    QStringList files;
    for (int i = 0; i < 9; ++i) {
        files << save_picture_file(test_picture(10 + i, 10), QStringLiteral("p%1.bmp").arg(i));
        open(files.last());
    }
    open(files[3]); // to the head, once
    fill_recent_menu(f->view_room());
    const QList<QAction*> entries = f->ff->findChild<QMenu*>("recent_pictures")->actions();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 ") + files[3]);
    EXPECT_EQ(entries[1]->statusTip(), files[8]);
    EXPECT_EQ(entries[7]->statusTip(), files[1]);

    QFile::remove(files[8]);
    entries[1]->trigger();
    EXPECT_TRUE(f->status_text().contains(files[8] + QStringLiteral(": the file is no longer")));
    EXPECT_FALSE(recent_pictures().contains(files[8]));
    EXPECT_EQ(f->pic_path, files[3]);
    entries[2]->trigger();
    EXPECT_EQ(f->pic_path, files[7]);
    EXPECT_EQ(recent_pictures().first(), files[7]);
}

} // namespace
