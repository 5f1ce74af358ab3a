// SPDX-License-Identifier: MIT
#include "platform/recent_pictures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
// Each test keeps what the program saves in the user's data folder (the
// recovered workbooks above all) in a folder of its own: a window made by one
// test would otherwise announce the rows another test's window had to rescue.
class DataFolderPerTest : public ::testing::EmptyTestEventListener {
  public:
    explicit DataFolderPerTest(const QTemporaryDir& home) : home_(home) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        const QString folder = home_.filePath(QStringLiteral("data-%1").arg(++tests_));
        ::setenv("XDG_DATA_HOME", qPrintable(folder), 1);
    }

  private:
    const QTemporaryDir& home_;
    int tests_ = 0;
};
} // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new DataFolderPerTest(home));
    const int failed = RUN_ALL_TESTS();
    // The recent list is written behind: into the run's folder, not after it is gone.
    finish_recent_pictures();
    return failed;
}
