// SPDX-License-Identifier: MIT
#pragma once
// The folder the file dialogs last used, kept between runs in the user's
// settings (~/.config/kelvo/kelvo.ini).

#include <QString>

// The folder last used, or "" when none is known or it no longer exists.
QString last_folder();
// Keeps the folder of `file` as the one last used.
void remember_folder_of(const QString& file);
