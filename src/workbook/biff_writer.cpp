// SPDX-License-Identifier: MIT
#include "workbook/biff_writer.h"

#include "workbook/biff_record_types.h"

#include <bit>
#include <cstring>

namespace xls {

namespace {
void put_u16(char* at, quint16 v) {
    at[0] = static_cast<char>(v & 0xFF);
    at[1] = static_cast<char>(v >> 8);
}

void put_u32(char* at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
} // namespace

BiffWriter::BiffWriter(qsizetype expected_size) {
    bytes_.reserve(expected_size);
}

void BiffWriter::u16(quint16 v) {
    char b[2];
    put_u16(b, v);
    bytes_.append(b, 2);
}

void BiffWriter::u32(quint32 v) {
    char b[4];
    put_u32(b, v);
    bytes_.append(b, 4);
}

void BiffWriter::f64(double v) {
    // The file stores the IEEE-754 bits little-endian whatever the host does.
    const auto bits = std::bit_cast<quint64>(v);
    u32(static_cast<quint32>(bits));
    u32(static_cast<quint32>(bits >> 32));
}

void BiffWriter::patch_u32(qsizetype at, quint32 v) {
    put_u32(bytes_.data() + at, v);
}

qsizetype BiffWriter::begin_record(quint16 type) {
    const qsizetype at = pos();
    u16(type);
    u16(0);
    return at;
}

void BiffWriter::end_record(qsizetype record_pos) {
    const qsizetype size = record_data_size(record_pos);
    Q_ASSERT(size >= 0 && size <= max_record_data);
    put_u16(bytes_.data() + record_pos + 2, static_cast<quint16>(size));
}

void BiffWriter::record(quint16 type, std::initializer_list<quint8> data) {
    u16(type);
    u16(static_cast<quint16>(data.size()));
    for (quint8 b : data)
        u8(b);
}

void write_bof(BiffWriter& out, quint16 substream) {
    const qsizetype at = out.begin_record(rec::bof);
    out.u16(0x0600); // BIFF8
    out.u16(substream);
    out.u16(0x0DBB); // build and year of the writing application
    out.u16(0x07CC);
    out.u32(0x00000041); // file history flags
    out.u32(0x00000006); // lowest BIFF version that can read all records
    out.end_record(at);
}

} // namespace xls
