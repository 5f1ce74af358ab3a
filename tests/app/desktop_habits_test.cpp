// SPDX-License-Identifier: MIT
#include "form/measure_room.h"
#include "kelvo_fixture.h"

#include "app/tutorial.h"
#include "measure/pointer_input.h"
#include "scale/scale_file.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

class DesktopHabits : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    }
    // Drops `files` on the window; true when the drop was taken.
    bool drop(const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        // Qt hands a drop only to the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.get(), &enter);
        QDropEvent event(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, {},
                         QEvent::Drop);
        QApplication::sendEvent(f.get(), &event);
        return event.isAccepted();
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : f.get();
        QTest::keyClick(to, Qt::Key(key), modifiers);
    }
};

// Dropping a picture and refusing other files are tried on the real window
// (e2e); here the scale file and a drop of several files.
TEST_F(DesktopHabits, ADroppedScaleFileLoadsAndSeveralFilesAreRefused) {
    QFile scale(path("micro.KVO"));
    ASSERT_TRUE(scale.open(QIODevice::WriteOnly));
    scale.write(scale_file_bytes(0.25f));
    scale.close();
    EXPECT_TRUE(drop({scale.fileName()}));
    EXPECT_EQ(f->unit_per_px, 0.25f);
    EXPECT_FALSE(drop({scale.fileName(), scale.fileName()}));
    EXPECT_TRUE(f->status_text().contains(QLatin1String("one file")));
    EXPECT_EQ(f->unit_per_px, 0.25f);
}

TEST_F(DesktopHabits, EscapeCancelsALineOrAWaitingCalibrationAndSaysSo) {
    open(save_picture_file(test_picture(200, 100), "p.bmp"));
    P_in_MouseDown(f->measure_room(), 1, 10, 10);
    ASSERT_EQ(f->m_state, MeasuringState::start_fixed);
    key(Qt::Key_Escape);
    EXPECT_EQ(f->m_state, MeasuringState::no_start);
    EXPECT_FALSE(f->L_d->visible());
    EXPECT_EQ(f->status_text(), QStringLiteral("Line cancelled."));

    f->Command_set->click();
    P_in_MouseDown(f->measure_room(), 1, 20, 20); // the first point: "point end" waits
    key(Qt::Key_Escape);
    EXPECT_EQ(f->Command_set->text(), QStringLiteral("set kelvo"));
    EXPECT_FALSE(f->Line_scale->visible());
    EXPECT_TRUE(f->L_trace_x->visible());
    EXPECT_TRUE(f->status_text().startsWith(QLatin1String("Calibration cancelled")));
}

// The zoom keys are tried on the real window (e2e).
TEST_F(DesktopHabits, CtrlCCopiesTheResultUnlessATextBoxHasTheFocus) {
    f->Lb_x->setText(QStringLiteral(".50"));
    f->Lb_y->setText(QStringLiteral("1.00"));
    f->Lb_d->setText(QStringLiteral("1.12"));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(".50\t1.00\t1.12"));
    f->Text_comment->setPlainText(QStringLiteral("left wing"));
    f->Text_comment->selectAll();
    f->Text_comment->setFocus();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("left wing"));
}

TEST_F(DesktopHabits, CtrlOOpensAPictureF1ShowsTheTutorialCtrlQExits) {
    dialogs.answer(save_picture_file(test_picture(20, 10), "k.bmp"));
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(f->pic_path, path("k.bmp"));
    key(Qt::Key_F1);
    EXPECT_TRUE(f->tutorial && f->tutorial->isVisible());
    f->activateWindow(); // from the tutorial window
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(f->isVisible());
}

} // namespace
