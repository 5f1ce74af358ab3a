// SPDX-License-Identifier: MIT
#pragma once
// A scroll bar is enabled exactly when the picture exceeds the viewport that
// way; a bar counts as enabled by its own setting, whether or not its window
// is (a window disabled by a dialog keeps its bars' meaning).

#include <QScrollBar>

inline bool scroll_bar_enabled(const QScrollBar* bar) {
    return bar->isEnabledTo(bar->parentWidget());
}
