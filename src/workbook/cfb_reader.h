// SPDX-License-Identifier: MIT
#pragma once
// Reads one stream out of a compound file (the container of an Excel
// 97-2003 workbook), version 3 or 4, through its FAT and, for small streams,
// its mini stream.

#include <QByteArray>
#include <QString>

namespace xls {

struct CompoundStream {
    QByteArray bytes;
    QString error; // why it could not be read; empty on success
};
// The stream named `name` (compared without case); the reason when the file
// is not a compound file, is damaged, or holds no such stream.
CompoundStream compound_file_stream(const QByteArray& file, const QString& name);

} // namespace xls
