// SPDX-License-Identifier: MIT
#pragma once
// Opening a file the user named, for reading, without ever blocking: a named
// pipe, a device or a folder is refused as "not a file" instead of waiting
// for a writer that may never come.

#include <QFile>
#include <QString>

// Opens `path` into `file` (read only). The reason it cannot be read, or an
// empty string when `file` is open on a regular file.
QString open_regular_file(const QString& path, QFile& file);
