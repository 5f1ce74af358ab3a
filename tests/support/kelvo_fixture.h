// SPDX-License-Identifier: MIT
#pragma once
// A main window on the offscreen platform with scripted dialogs and a
// temporary folder, shown at a known client size so layout-dependent
// behaviour is repeatable.

#include "form/F_main.h"
#include "pointer.h"
#include "scripted_dialogs.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class KelvoTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the window with its client area at `size` (no maximising offscreen).
    void show_window(QSize client_size = QSize(800, 600));
    // A path inside the temporary folder.
    QString path(const QString& name) const;
    // Writes `image` into the temporary folder and returns its path.
    QString save_picture_file(const QImage& image, const QString& name);
    // Opens `file` through "Open picture" with the scripted dialog.
    void open(const QString& file);
    // A deterministic test picture: a colour gradient with a grid, so every
    // pixel differs from its neighbours in a predictable way.
    static QImage test_picture(int width, int height);

    ScriptedFileDialogs dialogs;
    std::unique_ptr<F_main> f;
    QTemporaryDir dir;
};
