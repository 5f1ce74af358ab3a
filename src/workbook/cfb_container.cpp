// SPDX-License-Identifier: MIT
#include "workbook/cfb_container.h"

#include "workbook/biff_writer.h"

#include <algorithm>

namespace xls {

namespace {

constexpr qint64 sector_size = 512;
constexpr qint64 ids_per_sector = sector_size / 4;
constexpr qint64 fat_sectors_in_header = 109;
constexpr qint64 fat_ids_per_difat_sector = ids_per_sector - 1; // the last id chains on
constexpr qint64 min_stream_size = 4096; // smaller streams would go to the mini stream

constexpr quint32 free_sector = 0xFFFFFFFF;
constexpr quint32 end_of_chain = 0xFFFFFFFE;
constexpr quint32 fat_sector = 0xFFFFFFFD;
constexpr quint32 difat_sector = 0xFFFFFFFC;
constexpr quint32 no_stream = 0xFFFFFFFF;

qint64 sectors_for(qint64 bytes, qint64 per_sector) {
    return (bytes + per_sector - 1) / per_sector;
}

struct Layout {
    qint64 stream_size; // padded
    qint64 stream_sectors;
    qint64 difat_sectors = 0;
    qint64 fat_sectors = 0;

    qint64 first_difat() const { return stream_sectors; }
    qint64 first_fat() const { return stream_sectors + difat_sectors; }
    qint64 directory() const { return first_fat() + fat_sectors; }
    qint64 total_sectors() const { return directory() + 1; }
};

// The FAT must cover its own sectors and the DIFAT's, so their counts are
// found by iterating to a fixed point.
Layout plan(qint64 stream_bytes) {
    Layout l;
    l.stream_size = std::max(stream_bytes, min_stream_size);
    l.stream_sectors = sectors_for(l.stream_size, sector_size);
    for (;;) {
        const qint64 total = l.stream_sectors + l.difat_sectors + l.fat_sectors + 1;
        const qint64 fat = sectors_for(total, ids_per_sector);
        const qint64 difat = fat <= fat_sectors_in_header ? 0
                                                          : sectors_for(fat - fat_sectors_in_header,
                                                                        fat_ids_per_difat_sector);
        if (fat == l.fat_sectors && difat == l.difat_sectors) return l;
        l.fat_sectors = fat;
        l.difat_sectors = difat;
    }
}

void write_header(BiffWriter& out, const Layout& l) {
    out.raw("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out.zeros(16);   // class id
    out.u16(0x003E); // minor version
    out.u16(0x0003); // major version 3: 512-byte sectors
    out.u16(0xFFFE); // little-endian
    out.u16(9);      // sector size 2^9
    out.u16(6);      // mini sector size 2^6
    out.zeros(6);
    out.u32(0); // directory sectors: always 0 in version 3
    out.u32(static_cast<quint32>(l.fat_sectors));
    out.u32(static_cast<quint32>(l.directory()));
    out.u32(0);            // transactions
    out.u32(4096);         // mini stream cutoff
    out.u32(end_of_chain); // no mini FAT
    out.u32(0);
    out.u32(l.difat_sectors ? static_cast<quint32>(l.first_difat()) : end_of_chain);
    out.u32(static_cast<quint32>(l.difat_sectors));
    for (qint64 i = 0; i < fat_sectors_in_header; ++i)
        out.u32(i < l.fat_sectors ? static_cast<quint32>(l.first_fat() + i) : free_sector);
}

void write_difat(BiffWriter& out, const Layout& l) {
    qint64 next_fat = fat_sectors_in_header;
    for (qint64 d = 0; d < l.difat_sectors; ++d) {
        for (qint64 i = 0; i < fat_ids_per_difat_sector; ++i, ++next_fat)
            out.u32(next_fat < l.fat_sectors ? static_cast<quint32>(l.first_fat() + next_fat)
                                             : free_sector);
        out.u32(d + 1 < l.difat_sectors ? static_cast<quint32>(l.first_difat() + d + 1)
                                        : end_of_chain);
    }
}

void write_fat(BiffWriter& out, const Layout& l) {
    for (qint64 s = 0; s + 1 < l.stream_sectors; ++s)
        out.u32(static_cast<quint32>(s + 1));
    out.u32(end_of_chain);
    for (qint64 s = 0; s < l.difat_sectors; ++s)
        out.u32(difat_sector);
    for (qint64 s = 0; s < l.fat_sectors; ++s)
        out.u32(fat_sector);
    out.u32(end_of_chain); // the directory
    for (qint64 s = l.total_sectors(); s < l.fat_sectors * ids_per_sector; ++s)
        out.u32(free_sector);
}

void write_directory_entry(BiffWriter& out, const char16_t* name, quint8 type, quint32 child,
                           quint32 start, quint64 size) {
    const qsizetype at = out.pos();
    qsizetype units = 0;
    for (; name && name[units]; ++units)
        out.u16(name[units]);
    out.zeros(64 - 2 * units);
    out.u16(name ? static_cast<quint16>(2 * (units + 1)) : 0); // bytes with the terminator
    out.u8(type);
    out.u8(name ? 1 : 0); // black in the red-black tree
    out.u32(no_stream);   // left sibling
    out.u32(no_stream);   // right sibling
    out.u32(child);
    out.zeros(16 + 4 + 8 + 8); // class id, state, creation and modification times
    out.u32(start);
    out.u32(static_cast<quint32>(size));
    out.u32(static_cast<quint32>(size >> 32));
    Q_ASSERT(out.pos() - at == 128);
}

void write_directory(BiffWriter& out, const Layout& l) {
    constexpr quint8 root_type = 5;
    constexpr quint8 stream_type = 2;
    write_directory_entry(out, u"Root Entry", root_type, 1, end_of_chain, 0);
    write_directory_entry(out, u"Workbook", stream_type, no_stream, 0,
                          static_cast<quint64>(l.stream_size));
    write_directory_entry(out, nullptr, 0, no_stream, 0, 0);
    write_directory_entry(out, nullptr, 0, no_stream, 0, 0);
}

} // namespace

QByteArray compound_file(const QByteArray& workbook_stream) {
    const Layout l = plan(workbook_stream.size());
    BiffWriter out(sector_size * (l.total_sectors() + 1));
    write_header(out, l);
    out.raw(workbook_stream.constData(), workbook_stream.size());
    out.zeros(l.stream_sectors * sector_size - workbook_stream.size());
    write_difat(out, l);
    write_fat(out, l);
    write_directory(out, l);
    Q_ASSERT(out.pos() == sector_size * (l.total_sectors() + 1));
    return out.take();
}

} // namespace xls
