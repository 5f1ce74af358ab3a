// SPDX-License-Identifier: MIT
#pragma once
// The pictures opened last, newest first, kept in the user's settings. The
// list is written to the settings file behind the caller's back; it reads the
// same as written at once.

#include <QStringList>

inline constexpr int recent_picture_count = 8;

// Absolute paths, newest first, at most recent_picture_count.
QStringList recent_pictures();
// Puts `file` at the head of the list (once), dropping the oldest beyond the count.
void remember_recent_picture(const QString& file);
// Takes `file` out of the list.
void forget_recent_picture(const QString& file);
// Waits until the list as last changed is in the settings file: the program
// calls it as it ends.
void finish_recent_pictures();
