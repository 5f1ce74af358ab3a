// SPDX-License-Identifier: MIT
#pragma once
// What the program remembers between runs, in the user's settings file
// (~/.config/kelvo/kelvo.ini): the dialogs' last folder, the recent
// pictures, whether the magnifier is on.

#include <QSettings>

QSettings user_settings();
