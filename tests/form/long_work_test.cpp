// SPDX-License-Identifier: MIT
// Long work shows its progress in the status bar, quick work shows nothing.

#include "kelvo_fixture.h"

#include "form/long_work.h"

#include <QProgressBar>
#include <QThread>

namespace {

using LongWorkBar = KelvoTest;

TEST_F(LongWorkBar, ShowsThePercentageOnlyAfterHalfASecondAndGoesWithTheWork) {
    auto* bar = f->findChild<QProgressBar*>(QStringLiteral("progress_bar"));
    ASSERT_NE(bar, nullptr);
    {
        LongWork work(*f, QStringLiteral("Saving view.png"));
        work.progress(1, 4);
        EXPECT_TRUE(bar->isHidden()) << "quick work flickers nothing";
        QThread::msleep(LongWork::shown_after_ms + 20);
        work.progress(3, 4);
        EXPECT_FALSE(bar->isHidden());
        EXPECT_EQ(bar->value(), 75);
        EXPECT_EQ(bar->text(), QStringLiteral("Saving view.png 75%"));
    }
    EXPECT_TRUE(bar->isHidden());
}

} // namespace
