// SPDX-License-Identifier: MIT
#pragma once
// The shared string table of a workbook: every text cell points into it. Each
// distinct text is stored once, in the order of first use. Written as SST,
// CONTINUE records as needed, and the EXTSST lookup table.

#include "workbook/biff_writer.h"

#include <QHash>
#include <QString>

#include <vector>

namespace xls {

class SharedStrings {
  public:
    // The index of text in the table, adding it on first use. Every call
    // counts as one cell that uses the table.
    quint32 add(const QString& text);

    quint32 unique_count() const { return static_cast<quint32>(strings_.size()); }
    // Bytes the strings take in the file, without record headers.
    qint64 character_bytes() const { return character_bytes_; }

    void write(BiffWriter& out) const;

  private:
    struct BucketStart {
        quint32 stream_pos;       // of the string's header
        quint16 offset_in_record; // counting the record header
    };
    std::vector<BucketStart> write_strings(BiffWriter& out, quint32 bucket) const;

    struct Entry {
        QString text;
        bool wide; // needs UTF-16; otherwise stored one byte per character
    };
    QHash<QString, quint32> index_;
    std::vector<Entry> strings_;
    quint32 uses_ = 0;
    qint64 character_bytes_ = 0;
};

} // namespace xls
