// SPDX-License-Identifier: MIT
#pragma once
// Byte-level writer for BIFF8 record streams: little-endian integers, record
// framing with the size filled in afterwards, and patching of positions that
// are only known later (sheet offsets, index entries).

#include <QByteArray>
#include <QtGlobal>

#include <initializer_list>

namespace xls {

// The largest data part of one record; longer data goes into CONTINUE records.
inline constexpr int max_record_data = 8224;

class BiffWriter {
  public:
    explicit BiffWriter(qsizetype expected_size = 0);

    // Position in the stream, i.e. the number of bytes written so far.
    qsizetype pos() const { return bytes_.size(); }

    void u8(quint8 v) { bytes_.append(static_cast<char>(v)); }
    void u16(quint16 v);
    void u32(quint32 v);
    void f64(double v);
    void raw(const char* data, qsizetype size) { bytes_.append(data, size); }
    void zeros(qsizetype count) { bytes_.append(count, '\0'); }

    void patch_u32(qsizetype at, quint32 v);

    // Writes the 4-byte record header with a size to be filled in by
    // end_record(); returns the record's position.
    qsizetype begin_record(quint16 type);
    void end_record(qsizetype record_pos);
    // Bytes of data written since begin_record().
    qsizetype record_data_size(qsizetype record_pos) const { return pos() - record_pos - 4; }

    // A whole record whose data is a constant.
    void record(quint16 type, std::initializer_list<quint8> data);

    QByteArray take() { return std::move(bytes_); }

  private:
    QByteArray bytes_;
};

// The BOF record that opens a substream.
inline constexpr quint16 substream_globals = 0x0005;
inline constexpr quint16 substream_worksheet = 0x0010;
void write_bof(BiffWriter& out, quint16 substream);

} // namespace xls
