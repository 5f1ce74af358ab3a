// SPDX-License-Identifier: MIT
#include "kelvo_fixture.h"
#include "app/main_window.h"

#include "workbook/workbook_formats.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QCoreApplication>
#include <QTest>

void KelvoTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    f = make_main_window(dialogs, workbook_applications());
}

void KelvoTest::TearDown() {
    if (f) f->close();
    f.reset();
    // Windows the main window let go with deleteLater (the tutorial) go now,
    // not in whichever test next runs an event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void KelvoTest::show_window(QSize client_size) {
    f->setWindowState(Qt::WindowNoState);
    f->show();
    const QSize frame = f->size() - f->client->size();
    f->resize(client_size + frame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->client->size() == client_size; }, 2000));
}

QString KelvoTest::path(const QString& name) const {
    return dir.filePath(name);
}

QString KelvoTest::save_picture_file(const QImage& image, const QString& name) {
    const QString file = path(name);
    EXPECT_TRUE(image.save(file)) << file.toStdString();
    return file;
}

void KelvoTest::open(const QString& file) {
    dialogs.answer(file);
    f->fo->trigger();
}

QImage KelvoTest::test_picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] =
                qRgb((x * 7 + y) & 0xFF, (y * 5 + x / 3) & 0xFF, ((x / 8 + y / 8) % 2) ? 200 : 40);
    }
    return image;
}
