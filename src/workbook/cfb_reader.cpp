// SPDX-License-Identifier: MIT
#include "workbook/cfb_reader.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace xls {

namespace {

constexpr quint32 end_of_chain = 0xFFFFFFFE;
constexpr quint32 fat_sector_mark = 0xFFFFFFFD;
constexpr quint32 difat_sector_mark = 0xFFFFFFFC;
constexpr quint32 free_sector = 0xFFFFFFFF;
constexpr qint64 mini_sector_size = 64;
constexpr char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// Every chain is walked with one of these: a sector met twice is a loop,
// which a damaged file would otherwise turn into endless reading.
class Visited {
  public:
    explicit Visited(qint64 size) : seen_(std::size_t(size), false) {}
    bool first_time(quint32 s) {
        if (s >= seen_.size() || seen_[s]) return false;
        seen_[s] = true;
        return true;
    }

  private:
    std::vector<bool> seen_;
};

class Reader {
  public:
    explicit Reader(const QByteArray& file) : file_(file), bytes_(file) {}

    QString read_header() {
        if (file_.size() < 512 || !file_.startsWith(QByteArray(signature, 8)))
            return QStringLiteral("it is not an Excel 97-2003 workbook (no compound file)");
        const int major = u16(0x1A), shift = u16(0x1E);
        if (u16(0x1C) != 0xFFFE || !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
            u16(0x20) != 6 || u32(0x38) != 4096)
            return damaged();
        sector_size_ = qint64(1) << shift;
        sectors_ = file_.size() / sector_size_ - 1;
        const qint64 fat_count = u32(0x2C), difat_count = u32(0x48);
        if (fat_count < 1 || fat_count > sectors_ || difat_count > sectors_) return damaged();

        // The FAT's sectors: up to 109 listed in the header, the rest in the
        // DIFAT chain, exactly as many as the header counts.
        std::vector<quint32> fat_sectors, difat_sectors;
        // The lists' places beyond the count are free.
        for (int i = 0; i < 109; ++i) {
            const quint32 s = u32(0x4C + 4 * i);
            if (qint64(fat_sectors.size()) < fat_count)
                fat_sectors.push_back(s);
            else if (s != free_sector)
                return damaged();
        }
        quint32 difat = u32(0x44);
        Visited seen(sectors_);
        const qint64 per = sector_size_ / 4 - 1;
        for (qint64 n = 0; n < difat_count; ++n) {
            const qint64 at = offset_of(difat);
            if (at < 0 || !seen.first_time(difat)) return damaged();
            difat_sectors.push_back(difat);
            for (qint64 i = 0; i < per; ++i) {
                const quint32 s = u32(at + 4 * i);
                if (qint64(fat_sectors.size()) < fat_count)
                    fat_sectors.push_back(s);
                else if (s != free_sector)
                    return damaged();
            }
            difat = u32(at + 4 * per);
        }
        if (qint64(fat_sectors.size()) != fat_count ||
            (difat != end_of_chain && difat != free_sector))
            return damaged();
        for (const quint32 s : fat_sectors) {
            const qint64 at = offset_of(s);
            if (at < 0 || !seen.first_time(s)) return damaged();
            for (qint64 i = 0; i < sector_size_ / 4; ++i)
                fat_.push_back(u32(at + 4 * i));
        }
        // The table marks its own sectors and those that list it.
        for (const quint32 s : fat_sectors)
            if (s >= fat_.size() || fat_[s] != fat_sector_mark) return damaged();
        for (const quint32 s : difat_sectors)
            if (s >= fat_.size() || fat_[s] != difat_sector_mark) return damaged();
        return QString();
    }

    CompoundStream stream(const QString& name) {
        QByteArray directory;
        if (!chain(u32(0x30), -1, &directory) || directory.size() < 128) return {{}, damaged()};
        const qint64 entries = directory.size() / 128;
        const auto entry = [&](qint64 e) { return directory.constData() + e * 128; };
        const auto id = [&](qint64 e, int at) { return qFromLittleEndian<quint32>(entry(e) + at); };
        if (entry(0)[0x42] != 5) return {{}, damaged()}; // the root storage
        // Every entry well formed, the free ones nameless, as other readers
        // (libfreexl) take their name lengths on trust.
        for (qint64 e = 0; e < entries; ++e) {
            const char* raw = entry(e);
            const int type = raw[0x42], bytes = qFromLittleEndian<quint16>(raw + 0x40);
            if (!(type == 0 || type == 1 || type == 2 || type == 5) || bytes > 64 || bytes % 2 ||
                (type == 0 && (bytes != 0 || std::any_of(raw, raw + 64, [](char c) { return c; }))))
                return {{}, damaged()};
        }
        // The root's children form a tree by their left, right and child ids.
        Visited seen(entries);
        std::vector<quint32> todo{id(0, 0x4C)};
        while (!todo.empty()) {
            const quint32 e = todo.back();
            todo.pop_back();
            if (e == free_sector) continue;
            if (!seen.first_time(e)) return {{}, damaged()};
            todo.push_back(id(e, 0x44));
            todo.push_back(id(e, 0x48));
            const char* raw = entry(e);
            const int bytes = qFromLittleEndian<quint16>(raw + 0x40);
            if (bytes < 2 || bytes > 64 || bytes % 2) return {{}, damaged()};
            const QString entry_name =
                QString::fromUtf16(reinterpret_cast<const char16_t*>(raw), bytes / 2 - 1);
            if (raw[0x42] != 2 || entry_name.compare(name, Qt::CaseInsensitive) != 0) continue;
            const qint64 size = stream_size(raw);
            QByteArray data;
            const bool ok = size < 0       ? false
                            : size >= 4096 ? chain(id(e, 0x74), size, &data)
                                           : mini_chain(entry(0), id(e, 0x74), size, &data);
            if (!ok) return {{}, damaged()};
            return {data, QString()};
        }
        return {{},
                QStringLiteral("it holds no %1 stream (not an Excel 97-2003 workbook)").arg(name)};
    }

  private:
    // The size of a directory entry's stream; -1 when it cannot be in this file.
    qint64 stream_size(const char* raw) const {
        const qint64 low = qFromLittleEndian<quint32>(raw + 0x78);
        const quint32 high = qFromLittleEndian<quint32>(raw + 0x7C);
        if (sector_size_ == 4096 && high != 0) return -1;
        return low <= file_.size() ? low : -1;
    }

    // The bytes of the chain from `first`: exactly `size` of them, in as many
    // sectors as they need, or the whole chain when size < 0.
    bool chain(quint32 first, qint64 size, QByteArray* out) const {
        out->clear();
        Visited seen(qint64(fat_.size()));
        quint32 s = first;
        while (s != end_of_chain) {
            const qint64 at = offset_of(s);
            if (at < 0 || !seen.first_time(s) || (size >= 0 && out->size() >= size)) return false;
            out->append(file_.constData() + at, sector_size_);
            s = fat_[s];
        }
        if (size < 0) return true;
        if (out->size() < size) return false;
        out->truncate(size);
        return true;
    }

    // Small streams live in 64-byte sectors inside the root entry's stream.
    bool mini_chain(const char* root, quint32 first, qint64 size, QByteArray* out) const {
        const qint64 root_size = stream_size(root);
        QByteArray mini_stream, mini_fat;
        if (root_size < 0 ||
            !chain(qFromLittleEndian<quint32>(root + 0x74), root_size, &mini_stream))
            return false;
        if (u32(0x40) > 0 && !chain(u32(0x3C), -1, &mini_fat)) return false;
        if (mini_fat.size() != qint64(u32(0x40)) * sector_size_) return false;
        const qint64 mini_sectors = std::min(mini_fat.size() / 4, root_size / mini_sector_size);
        out->clear();
        Visited seen(mini_sectors);
        quint32 s = first;
        while (s != end_of_chain) {
            if (!seen.first_time(s) || out->size() >= size) return false;
            out->append(mini_stream.constData() + qint64(s) * mini_sector_size, mini_sector_size);
            s = qFromLittleEndian<quint32>(mini_fat.constData() + qint64(s) * 4);
        }
        if (out->size() < size) return false;
        out->truncate(size);
        return true;
    }
    qint64 offset_of(quint32 sector) const {
        if (sector >= sectors_) return -1;
        const qint64 at = (qint64(sector) + 1) * sector_size_;
        return at + sector_size_ <= file_.size() ? at : -1;
    }
    // Values at places the callers checked lie in the file. Through a view:
    // GCC 12 follows QByteArray::constData() into the one-byte array an empty
    // array points at, and at -O2 warns of reads the checks rule out.
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(bytes_.data() + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(bytes_.data() + at); }
    static QString damaged() { return QStringLiteral("its compound file structure is damaged"); }

    const QByteArray& file_;
    const QByteArrayView bytes_;
    qint64 sector_size_ = 512;
    qint64 sectors_ = 0;
    std::vector<quint32> fat_;
};

} // namespace

CompoundStream compound_file_stream(const QByteArray& file, const QString& name) {
    Reader reader(file);
    if (QString why = reader.read_header(); !why.isEmpty()) return {{}, why};
    return reader.stream(name);
}

} // namespace xls
