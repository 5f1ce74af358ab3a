// SPDX-License-Identifier: MIT
#include "platform/recent_pictures.h"

#include "platform/user_settings.h"

#include <QDir>
#include <gtest/gtest.h>

// The list is written behind the caller: it reads back at once as changed,
// and once finished the settings file holds it as a next run will read it.
TEST(RecentPictures, WrittenBehindReadsAsChangedAndReachesTheFile) {
    for (const QString& file : recent_pictures())
        forget_recent_picture(file);
    const auto shot = [](int i) {
        return QDir::temp().filePath(QStringLiteral("shot%1.jpg").arg(i));
    };
    for (int i = 0; i < 10; ++i)
        remember_recent_picture(shot(i)); // 9 down to 2 kept
    remember_recent_picture(shot(2));     // the oldest kept, at the head again
    forget_recent_picture(shot(8));
    QStringList expected;
    for (int i : {2, 9, 7, 6, 5, 4, 3})
        expected << shot(i);
    EXPECT_EQ(recent_pictures(), expected);
    finish_recent_pictures();
    EXPECT_EQ(user_settings().value(QStringLiteral("pictures/recent")).toStringList(), expected);
}
