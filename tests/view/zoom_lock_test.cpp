// SPDX-License-Identifier: MIT
#include "view_fixture.h"

#include <QLineEdit>

namespace {

class ZoomLock : public ViewTest {};

TEST_F(ZoomLock, TheZoomKeysAndCtrlWheelSayTheLockIsOnUntilItIsUnticked) {
    show_picture(200, 100);
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    pointer::click(f->Check_zlock);
    ASSERT_EQ(f->status_text(), QStringLiteral("Zoom lock is on: the zoom stays at 100%."));
    for (int key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_0}) {
        f->report(QString());
        QTest::keyClick(f.get(), Qt::Key(key), Qt::ControlModifier);
        EXPECT_TRUE(f->status_text().startsWith(QLatin1String("Zoom lock is on"))) << key;
    }
    f->report(QString());
    turn_wheel(f->P_in, QPoint(0, 120), Qt::ControlModifier);
    settle_wheel();
    EXPECT_TRUE(f->status_text().startsWith(QLatin1String("Zoom lock is on")));
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("100%"));
    pointer::click(f->Check_zlock);
    EXPECT_TRUE(f->status_text().startsWith(QLatin1String("Zoom lock is off")));
}

} // namespace
