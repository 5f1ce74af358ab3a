// SPDX-License-Identifier: MIT
#include "platform/recent_pictures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run without a display: the offscreen platform must be chosen
// before the QApplication exists.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // What the program keeps in the user's folders (the dialogs' last folder,
    // recovered workbooks) goes to a folder of the test run, never into the
    // user's own; a test may point these elsewhere for itself.
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", qPrintable(home.filePath(QStringLiteral("config"))), 1);
    ::setenv("XDG_DATA_HOME", qPrintable(home.filePath(QStringLiteral("data"))), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    // The recent list is written behind: into the run's folder, not after it is gone.
    finish_recent_pictures();
    return failed;
}
