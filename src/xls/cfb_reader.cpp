// SPDX-License-Identifier: MIT
#include "xls/cfb_reader.h"

#include <QtEndian>

#include <vector>

namespace xls {

namespace {

constexpr quint32 end_of_chain = 0xFFFFFFFE;
constexpr char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

class Reader {
  public:
    explicit Reader(const QByteArray& file) : file_(file) {}

    QString read_header() {
        if (file_.size() < 512 || !file_.startsWith(QByteArray(signature, 8)))
            return QStringLiteral("it is not an Excel 97-2003 workbook (no compound file)");
        const int shift = u16(0x1E);
        if (shift != 9 && shift != 12) return damaged();
        sector_size_ = qint64(1) << shift;
        mini_cutoff_ = u32(0x38);
        // The FAT's sectors: 109 listed in the header, the rest in DIFAT sectors.
        std::vector<quint32> fat_sectors;
        for (int i = 0; i < 109; ++i)
            if (const quint32 s = u32(0x4C + 4 * i); s < end_of_chain) fat_sectors.push_back(s);
        // A damaged or hostile header cannot make it read more than the file
        // holds: no more DIFAT sectors than sectors, no more FAT sectors
        // than it takes to map them.
        const qint64 sectors = file_.size() / sector_size_;
        const qint64 fat_needed = sectors / (sector_size_ / 4) + 1;
        quint32 difat = u32(0x44);
        for (qint64 n = 0; difat < end_of_chain && n < u32(0x48) && n < sectors &&
                           qint64(fat_sectors.size()) <= fat_needed;
             ++n) {
            const qint64 at = offset_of(difat);
            if (at < 0) return damaged();
            const qint64 per = sector_size_ / 4 - 1;
            for (qint64 i = 0; i < per; ++i)
                if (const quint32 s = u32(at + 4 * i); s < end_of_chain) fat_sectors.push_back(s);
            difat = u32(at + 4 * per);
        }
        if (qint64(fat_sectors.size()) > fat_needed) fat_sectors.resize(fat_needed);
        for (const quint32 s : fat_sectors) {
            const qint64 at = offset_of(s);
            if (at < 0) return damaged();
            for (qint64 i = 0; i < sector_size_ / 4; ++i)
                fat_.push_back(u32(at + 4 * i));
        }
        return QString();
    }

    // The bytes of the chain from `first`, `size` of them (all when size < 0).
    bool chain(quint32 first, qint64 size, QByteArray* out) const {
        out->clear();
        quint32 s = first;
        for (qint64 hops = 0; s != end_of_chain && (size < 0 || out->size() < size); ++hops) {
            const qint64 at = offset_of(s);
            if (at < 0 || s >= fat_.size() || hops > qint64(fat_.size())) return false;
            out->append(file_.constData() + at, sector_size_);
            s = fat_[s];
        }
        if (size < 0) return true;
        if (out->size() < size) return false;
        out->truncate(size);
        return true;
    }

    CompoundStream stream(const QString& name) {
        QByteArray directory;
        if (!chain(u32(0x30), -1, &directory) || directory.size() < 128) return {{}, damaged()};
        const auto entry_u32 = [&](qint64 e, int at) {
            return qFromLittleEndian<quint32>(directory.constData() + e * 128 + at);
        };
        const qint64 entries = directory.size() / 128;
        for (qint64 e = 0; e < entries; ++e) {
            const char* raw = directory.constData() + e * 128;
            const int bytes = qFromLittleEndian<quint16>(raw + 0x40);
            if (raw[0x42] != 2 || bytes < 2 || bytes > 64) continue;
            const QString entry_name =
                QString::fromUtf16(reinterpret_cast<const char16_t*>(raw), bytes / 2 - 1);
            if (entry_name.compare(name, Qt::CaseInsensitive) != 0) continue;
            const quint32 first = entry_u32(e, 0x74);
            const qint64 size = entry_u32(e, 0x78);
            QByteArray data;
            const bool ok = size >= mini_cutoff_ ? chain(first, size, &data)
                                                 : mini_chain(directory, first, size, &data);
            if (!ok) return {{}, damaged()};
            return {data, QString()};
        }
        return {{},
                QStringLiteral("it holds no %1 stream (not an Excel 97-2003 workbook)").arg(name)};
    }

  private:
    // Small streams live in 64-byte sectors inside the root entry's stream.
    bool mini_chain(const QByteArray& directory, quint32 first, qint64 size, QByteArray* out) {
        const quint32 root_first = qFromLittleEndian<quint32>(directory.constData() + 0x74);
        const qint64 root_size = qFromLittleEndian<quint32>(directory.constData() + 0x78);
        QByteArray mini_stream, mini_fat_bytes;
        if (!chain(root_first, root_size, &mini_stream) ||
            !chain(u32(0x3C), qint64(u32(0x40)) * sector_size_, &mini_fat_bytes))
            return false;
        const qint64 mini_sectors = mini_fat_bytes.size() / 4;
        out->clear();
        quint32 s = first;
        for (qint64 hops = 0; s != end_of_chain && out->size() < size; ++hops) {
            if (s >= mini_sectors || hops > mini_sectors || (qint64(s) + 1) * 64 > root_size)
                return false;
            out->append(mini_stream.constData() + qint64(s) * 64, 64);
            s = qFromLittleEndian<quint32>(mini_fat_bytes.constData() + qint64(s) * 4);
        }
        if (out->size() < size) return false;
        out->truncate(size);
        return true;
    }
    qint64 offset_of(quint32 sector) const {
        if (sector >= end_of_chain) return -1;
        const qint64 at = (qint64(sector) + 1) * sector_size_;
        return at + sector_size_ <= file_.size() ? at : -1;
    }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(file_.constData() + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(file_.constData() + at); }
    static QString damaged() { return QStringLiteral("its compound file structure is damaged"); }

    const QByteArray& file_;
    qint64 sector_size_ = 512;
    qint64 mini_cutoff_ = 4096;
    std::vector<quint32> fat_;
};

} // namespace

CompoundStream compound_file_stream(const QByteArray& file, const QString& name) {
    Reader reader(file);
    if (QString why = reader.read_header(); !why.isEmpty()) return {{}, why};
    return reader.stream(name);
}

} // namespace xls
