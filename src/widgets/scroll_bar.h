// SPDX-License-Identifier: MIT
#pragma once
// A scroll bar is enabled exactly when the picture exceeds the viewport that
// way; a bar counts as enabled by its own setting, whether or not its window
// is (a window disabled by a dialog keeps its bars' meaning).

#include <QScrollBar>

inline bool scroll_bar_enabled(const QScrollBar* bar) {
    return bar->isEnabledTo(bar->parentWidget());
}

// Draws `bar` in Qt's plain "Windows" style when the program runs in Qt's
// default Fusion style. Fusion fills a bar's groove and handle with
// gradients, and Qt's raster painter splits every fill more than 96 rows tall
// over its thread pool and waits for it: the hand-offs made the repaint of the
// picture's upright bar, which every zoom step and scroll causes, about a
// millisecond, a fifth of a step on two processors. Any other style is kept.
void draw_scroll_bar_plainly(QScrollBar* bar);
