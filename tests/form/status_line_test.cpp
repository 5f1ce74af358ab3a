// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

namespace {

using StatusLine = KelvoTest;

// A long path is shortened in its middle, so the reason after it stays in
// sight at every width; the message itself stays whole.
TEST_F(StatusLine, ALongPathIsShortenedSoTheReasonStaysInSight) {
    show_window(QSize(700, 500));
    const QString reason = "file name too long: 256 bytes, where the file system allows 255";
    const QString message = "Could not write " + path(QString(256, 'n') + ".bmp") + ": " + reason;
    f->report(message);
    const auto* label = f->findChild<QLabel*>("status_line");
    const auto fits = [label] {
        return label->fontMetrics().horizontalAdvance(label->text()) <=
               label->contentsRect().width();
    };
    const QString narrow = label->text();
    EXPECT_TRUE(narrow.startsWith("Could not write /")) << narrow.toStdString();
    EXPECT_TRUE(narrow.endsWith("nnn.bmp: " + reason)) << narrow.toStdString();
    EXPECT_TRUE(narrow.contains(QChar(0x2026)));
    EXPECT_TRUE(fits());
    EXPECT_EQ(f->status_text(), message);
    EXPECT_EQ(label->toolTip(), message);

    f->resize(f->width() + 300, f->height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return label->text().size() > narrow.size(); }));
    EXPECT_TRUE(label->text().endsWith(reason));
    EXPECT_TRUE(fits());

    // Words after the file name stay too.
    f->report(path(QString(256, 'n') + ".xls") + " already holds 65536 rows");
    EXPECT_TRUE(label->text().endsWith("nnn.xls already holds 65536 rows"));
    EXPECT_TRUE(fits());

    // Without a path, what does not fit is cut at the end.
    f->report(QString(400, 'w'));
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(fits());
}

} // namespace
