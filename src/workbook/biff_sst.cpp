// SPDX-License-Identifier: MIT
#include "workbook/biff_sst.h"

#include "workbook/biff_record_types.h"

#include <algorithm>

namespace xls {

namespace {

bool needs_utf16(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

// Writes the SST body, opening CONTINUE records whenever the current record
// is full. Readers demand that a string's header never be split, that a
// string carried on into a CONTINUE repeat its compression flag as the
// CONTINUE's first byte, and that UTF-16 units and surrogate pairs stay whole.
class SstRecords {
  public:
    explicit SstRecords(BiffWriter& out) : out_(out) { record_ = out_.begin_record(rec::sst); }
    ~SstRecords() { out_.end_record(record_); }

    qsizetype room() const { return max_record_data - out_.record_data_size(record_); }
    void next_record() {
        out_.end_record(record_);
        record_ = out_.begin_record(rec::continue_);
    }
    // Stream position and offset (counting the record header) of the next byte.
    qsizetype pos() const { return out_.pos(); }
    qsizetype offset_in_record() const { return out_.pos() - record_; }

  private:
    BiffWriter& out_;
    qsizetype record_;
};

// Units of text[from..] that fit into room bytes without splitting a pair.
qsizetype units_that_fit(const QString& text, qsizetype from, qsizetype room, bool wide) {
    const qsizetype char_size = wide ? 2 : 1;
    qsizetype n = std::min(text.size() - from, room / char_size);
    if (wide && n > 0 && from + n < text.size() && text.at(from + n - 1).isHighSurrogate()) --n;
    return n;
}

qsizetype first_character_bytes(const QString& text, bool wide) {
    if (text.isEmpty()) return 0;
    if (!wide) return 1;
    return text.size() > 1 && text.at(0).isHighSurrogate() ? 4 : 2;
}

void write_characters(BiffWriter& out, const QString& text, qsizetype from, qsizetype count,
                      bool wide) {
    const QChar* units = text.constData() + from;
    for (qsizetype i = 0; i < count; ++i) {
        if (wide)
            out.u16(units[i].unicode());
        else
            out.u8(static_cast<quint8>(units[i].unicode()));
    }
}

} // namespace

quint32 SharedStrings::add(const QString& text) {
    ++uses_;
    const auto found = index_.constFind(text);
    if (found != index_.constEnd()) return found.value();
    const auto index = static_cast<quint32>(strings_.size());
    const bool wide = needs_utf16(text);
    strings_.push_back({text, wide});
    index_.insert(text, index);
    character_bytes_ += 3 + text.size() * (wide ? 2 : 1);
    return index;
}

std::vector<SharedStrings::BucketStart> SharedStrings::write_strings(BiffWriter& out,
                                                                     quint32 bucket) const {
    std::vector<BucketStart> buckets;
    SstRecords records(out);
    out.u32(uses_);
    out.u32(unique_count());
    for (quint32 i = 0; i < unique_count(); ++i) {
        const QString& text = strings_[i].text;
        const bool wide = strings_[i].wide;
        const quint8 flag = wide ? 1 : 0;
        // The 3-byte header travels with at least the first character.
        if (records.room() < 3 + first_character_bytes(text, wide)) records.next_record();
        if (i % bucket == 0)
            buckets.push_back({static_cast<quint32>(records.pos()),
                               static_cast<quint16>(records.offset_in_record())});
        out.u16(static_cast<quint16>(text.size()));
        out.u8(flag);
        qsizetype done = 0;
        while (done < text.size()) {
            qsizetype n = units_that_fit(text, done, records.room(), wide);
            if (n == 0) {
                records.next_record();
                out.u8(flag);
                n = units_that_fit(text, done, records.room(), wide);
            }
            write_characters(out, text, done, n, wide);
            done += n;
        }
    }
    return buckets;
}

void SharedStrings::write(BiffWriter& out) const {
    // Strings per EXTSST bucket, as Excel computes it.
    const quint32 bucket = std::max<quint32>(unique_count() / 128 + 1, 8);
    const std::vector<BucketStart> buckets = write_strings(out, bucket);
    // EXTSST tells where every bucket's first string starts.
    const qsizetype extsst = out.begin_record(rec::extsst);
    out.u16(static_cast<quint16>(bucket));
    for (const BucketStart& b : buckets) {
        out.u32(b.stream_pos);
        out.u16(b.offset_in_record);
        out.u16(0);
    }
    out.end_record(extsst);
}

} // namespace xls
