// SPDX-License-Identifier: MIT
#pragma once
// The compound file (OLE2, version 3, 512-byte sectors) that holds an .xls
// workbook's single "Workbook" stream.
//
// The stream is padded with zeros to at least 4096 bytes, so it lives in
// ordinary sectors and the file needs no mini stream. Layout: header, stream
// sectors, DIFAT sectors (only past 109 FAT sectors, about 7 MB), FAT
// sectors, one directory sector.

#include <QByteArray>

namespace xls {

QByteArray compound_file(const QByteArray& workbook_stream);

} // namespace xls
