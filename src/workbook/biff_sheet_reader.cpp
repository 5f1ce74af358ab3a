// SPDX-License-Identifier: MIT
#include "workbook/biff_sheet_reader.h"

#include "workbook/biff_record_types.h"
#include "workbook/xls_colours.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

namespace xls {

namespace {

using spreadsheet::CellValue;
using spreadsheet::ReadProgress;
using spreadsheet::SheetReading;

// Records the reader needs besides those the writer writes.
constexpr quint16 format_record = 0x041E;
constexpr quint16 filepass = 0x002F;
constexpr quint16 palette = 0x0092;
constexpr quint16 label = 0x0204;
constexpr quint16 rstring = 0x00D6;
constexpr quint16 rk = 0x027E;
constexpr quint16 mulrk = 0x00BD;
constexpr quint16 blank = 0x0201;
constexpr quint16 mulblank = 0x00BE;
constexpr int row_record_bytes = 20;      // header included
constexpr quint16 icv_window_text = 0x40; // the system's, as automatic is
// What the sheet would lose if it were written anew.
constexpr std::pair<quint16, const char*> unkept[] = {
    {0x0006, "formulas"},   {0x0221, "formulas"},      {0x04BC, "formulas"},
    {0x0236, "formulas"},   {0x0207, "formulas"},      {0x0205, "true/false or error values"},
    {0x001C, "cell notes"}, {0x005D, "drawn objects"}, {0x00EC, "drawn objects"},
    {0x01B6, "text boxes"}, {0x01B8, "links"},
};

QString damaged(const char* what) {
    return QStringLiteral("its workbook records are damaged: %1").arg(QLatin1String(what));
}

struct Record {
    quint16 type = 0;
    const uchar* data = nullptr;
    int size = 0;
    qint64 at = 0; // of the header, in the stream
    // Callers check the size first.
    quint8 u8(int i) const { return data[i]; }
    quint16 u16(int i) const { return qFromLittleEndian<quint16>(data + i); }
    quint32 u32(int i) const { return qFromLittleEndian<quint32>(data + i); }
    double f64(int i) const { return qFromLittleEndian<double>(data + i); }
};

class Records {
  public:
    Records(const QByteArray& s, qint64 from) : s_(s), at_(from) {}
    // False at the end of the stream and for a record that runs past it.
    bool next(Record* r) {
        if (at_ < 0 || at_ + 4 > s_.size()) return false;
        const auto* p = reinterpret_cast<const uchar*>(s_.constData()) + at_;
        r->type = qFromLittleEndian<quint16>(p);
        r->size = qFromLittleEndian<quint16>(p + 2);
        r->data = p + 4;
        r->at = at_;
        if (at_ + 4 + r->size > s_.size()) return false;
        at_ += 4 + r->size;
        return true;
    }
    qint64 pos() const { return at_; }

  private:
    const QByteArray& s_;
    qint64 at_;
};

double rk_number(quint32 rk_value) {
    double v = 0;
    if (rk_value & 2) {
        v = double(qint32(rk_value) >> 2);
    } else {
        const quint64 bits = quint64(rk_value & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return rk_value & 1 ? v / 100 : v;
}

// The SST's bytes, the record's and its CONTINUE records', read as one: a
// string's characters carried on into the next record begin it with their
// compression flag again.
class SstBytes {
  public:
    void add(const uchar* data, int size) {
        if (size > 0) parts_.push_back({data, size});
    }
    bool at_end() const { return part_ == parts_.size(); }
    // False when fewer than n bytes are left.
    bool skip(quint32 n) {
        for (; n > 0; --n) {
            if (at_end()) return false;
            step();
        }
        return true;
    }
    std::optional<quint32> number(int bytes) {
        quint32 v = 0;
        for (int i = 0; i < bytes; ++i, step()) {
            if (at_end()) return std::nullopt;
            v |= quint32(parts_[part_].first[at_]) << (8 * i);
        }
        return v;
    }
    std::optional<QString> text(int chars, bool wide) {
        QString out;
        for (bool first = true; chars > 0; first = false) {
            if (at_end()) return std::nullopt;
            if (!first && at_ == 0) { // a new record: the flag again
                const quint8 flag = parts_[part_].first[0];
                if (flag > 1) return std::nullopt;
                wide = flag == 1;
                step();
                if (at_end()) return std::nullopt;
            }
            const int n = std::min(chars, (parts_[part_].second - at_) / (wide ? 2 : 1));
            if (n == 0) return std::nullopt;
            const uchar* p = parts_[part_].first + at_;
            out += wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n)
                        : QString::fromLatin1(reinterpret_cast<const char*>(p), n);
            chars -= n;
            skip(quint32(n) * (wide ? 2 : 1));
        }
        return out;
    }

  private:
    void step() {
        if (++at_ == parts_[part_].second) {
            ++part_;
            at_ = 0;
        }
    }
    std::vector<std::pair<const uchar*, int>> parts_;
    std::size_t part_ = 0;
    int at_ = 0;
};

struct SstStrings {
    std::vector<QString> strings;
    QString error; // empty on success
};

SstStrings read_strings(SstBytes& sst, quint32 count) {
    SstStrings out;
    const auto runs_past = [] {
        return SstStrings{{}, damaged("a shared string runs past its records")};
    };
    for (quint32 i = 0; i < count; ++i) {
        if (sst.at_end()) return {{}, damaged("the SST holds fewer strings than it counts")};
        const std::optional<quint32> chars = sst.number(2), flags = sst.number(1);
        if (!chars || !flags || *flags > 0x0F || (*flags & 0x02)) return runs_past();
        const std::optional<quint32> runs = *flags & 0x08 ? sst.number(2) : 0;
        const std::optional<quint32> extra = *flags & 0x04 ? sst.number(4) : 0;
        std::optional<QString> text =
            runs && extra ? sst.text(int(*chars), *flags & 1) : std::nullopt;
        // Formatting runs and phonetic data are skipped: kelvo keeps neither.
        if (!text || !sst.skip(*runs * 4) || !sst.skip(*extra)) return runs_past();
        out.strings.push_back(std::move(*text));
    }
    if (!sst.at_end()) return {{}, damaged("the SST holds more than it counts")};
    return out;
}

struct Globals {
    std::vector<quint16> font_icv;                // by font index; index 4 does not exist
    std::vector<std::pair<quint16, quint16>> xfs; // font, number format
    std::map<quint16, QString> formats;
    std::vector<quint32> palette; // 0xRRGGBB from icv 8, when the file has its own
    std::vector<QString> strings; // the SST
    qint64 sst_uses = -1;         // how often the SST says its strings are used
    qint64 sheet_at = -1;
    qint64 end = 0; // where the globals' EOF ends
    int sheets = 0;
};

// The text of a FORMAT record's XLUnicodeString; none when it does not fill the record.
std::optional<QString> format_text(const Record& r) {
    if (r.size < 5) return std::nullopt;
    const int chars = r.u16(2);
    const bool wide = r.u8(4) & 1;
    if (r.size != 5 + chars * (wide ? 2 : 1)) return std::nullopt;
    return wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(r.data + 5), chars)
                : QString::fromLatin1(reinterpret_cast<const char*>(r.data + 5), chars);
}

// Whether the string of one-byte length at `at` ends the record exactly.
bool short_string_fills(const Record& r, int at) {
    return r.size >= at + 2 && r.size == at + 2 + r.u8(at) * (r.u8(at + 1) & 1 ? 2 : 1);
}

QString read_globals(const QByteArray& stream, Globals* g) {
    Records records(stream, 0);
    Record r;
    if (!records.next(&r) || r.type != rec::bof || r.size < 8 || r.u16(0) != 0x0600 ||
        r.u16(2) != 0x0005)
        return QStringLiteral("it is not an Excel 97-2003 (BIFF8) workbook");
    SstBytes sst;
    bool in_sst = false;
    quint32 unique = 0;
    for (;;) {
        if (!records.next(&r)) return damaged("the workbook's globals do not end");
        if (r.type == rec::eof) break;
        bool ok = true;
        switch (r.type) {
        case filepass:
            return QStringLiteral("it is protected by a password");
        case rec::font:
            ok = r.size >= 16 && short_string_fills(r, 14);
            if (g->font_icv.size() == 4) g->font_icv.push_back(icv_automatic);
            if (ok) g->font_icv.push_back(r.u16(4));
            break;
        case rec::xf:
            ok = r.size == 20;
            if (ok) g->xfs.emplace_back(r.u16(0), r.u16(2));
            break;
        case format_record:
            if (const std::optional<QString> text = format_text(r); text)
                g->formats[r.u16(0)] = *text;
            else
                ok = false;
            break;
        case rec::boundsheet:
            ok = r.size >= 8 && short_string_fills(r, 6);
            ++g->sheets;
            if (ok && g->sheet_at < 0 && r.u8(5) == 0) g->sheet_at = r.u32(0);
            break;
        case rec::style:
            // A built-in style's number, or a style's name.
            ok =
                r.size >= 4 &&
                (r.u16(0) & 0x8000 ? r.size == 4 && r.u8(2) <= 9
                                   : r.size >= 5 && r.size == 5 + r.u16(2) * (r.u8(4) & 1 ? 2 : 1));
            break;
        case palette:
            ok = r.size >= 2 && r.size == 2 + 4 * r.u16(0) && g->palette.empty();
            for (int i = 0; ok && i < r.u16(0); ++i)
                g->palette.push_back(quint32(r.u8(2 + 4 * i)) << 16 | r.u8(3 + 4 * i) << 8 |
                                     r.u8(4 + 4 * i));
            break;
        case rec::sst:
            ok = r.size >= 8 && g->sst_uses < 0;
            if (!ok) break;
            g->sst_uses = r.u32(0);
            unique = r.u32(4);
            sst.add(r.data + 8, r.size - 8);
            break;
        case rec::continue_:
            if (in_sst) sst.add(r.data, r.size);
            break;
        default:
            break;
        }
        if (!ok) return damaged("a record of the workbook's globals has the wrong size");
        in_sst = r.type == rec::sst || (in_sst && r.type == rec::continue_);
    }
    g->end = records.pos();
    if (g->sheets != 1)
        return QStringLiteral("it holds %1 sheets, and kelvo writes one").arg(g->sheets);
    if (g->sheet_at < 0) return QStringLiteral("its only sheet is not a worksheet");
    if (g->sheet_at != g->end) return damaged("its sheet does not follow the globals");
    SstStrings strings = read_strings(sst, unique);
    g->strings = std::move(strings.strings);
    return strings.error;
}

class SheetCells {
  public:
    explicit SheetCells(const Globals& g) : g_(g) {}

    // Why the cell cannot be taken; empty when it was.
    QString add(int row, int col, quint16 xf, const CellValue& value) {
        if (!dims_) return damaged("a cell before the sheet's dimensions");
        const qint64 key = qint64(row) * 256 + col;
        if (col > 255 || key <= last_key_) return damaged("cells out of order, or a cell twice");
        last_key_ = key;
        const auto span = rows_.find(row);
        if (span == rows_.end() || col < span->second.first || col >= span->second.second)
            return damaged("a cell outside its row's extent");
        if (quint32(row) < dims_->row_first || quint32(row) >= dims_->row_end ||
            col < dims_->col_first || col >= dims_->col_end)
            return damaged("a cell outside the sheet's dimensions");
        if (xf >= g_.xfs.size() || g_.xfs[xf].first >= g_.font_icv.size())
            return damaged("a cell's format does not exist");
        if (value.kind == CellValue::Kind::number && !std::isfinite(value.number))
            return damaged("a number that is not finite");
        if (value.kind == CellValue::Kind::text && value.text.contains(QChar(0)))
            return QStringLiteral("it holds text with a NUL character, which kelvo cannot write "
                                  "back");
        if (value.text.size() > spreadsheet::max_cell_text)
            return QStringLiteral("it holds text longer than a cell holds, which kelvo cannot "
                                  "write back");
        const auto [font, format] = g_.xfs[xf];
        const quint16 icv = g_.font_icv[font];
        if (icv > icv_last_palette && icv != icv_window_text && icv != icv_automatic)
            return QStringLiteral("its fonts have system colours, which kelvo cannot write back");
        if (icv >= icv_first_palette && icv - icv_first_palette < int(g_.palette.size()) &&
            g_.palette[icv - icv_first_palette] != palette_rgb(icv))
            return QStringLiteral("its colours are its own palette's, which kelvo cannot write "
                                  "back");
        spreadsheet::StoredCell cell;
        cell.row = row + 1;
        cell.col = col + 1;
        cell.value = value;
        const auto named = g_.formats.find(format);
        cell.value.two_decimals =
            value.kind == CellValue::Kind::number &&
            (format == 2 || (named != g_.formats.end() && named->second == QLatin1String("0.00")));
        cell.colour = font_colour_of(icv);
        sheet_.last_row = cell.row;
        sheet_.cells.push_back(std::move(cell));
        return QString();
    }

    QString read(const Record& r) {
        const auto text = [](const QString& t) {
            CellValue v;
            v.kind = CellValue::Kind::text;
            v.text = t;
            return v;
        };
        const auto number = [](double n) {
            CellValue v;
            v.kind = CellValue::Kind::number;
            v.number = n;
            return v;
        };
        const auto sized = [&](bool ok) {
            return ok ? QString() : damaged("a record of the sheet has the wrong size");
        };
        switch (r.type) {
        case rec::dimensions:
            if (r.size != 14 || dims_ || !cell_at_.empty()) return sized(false);
            dims_ = Dims{r.u32(0), r.u32(4), r.u16(8), r.u16(10)};
            if (dims_->row_end > quint32(spreadsheet::max_rows) || dims_->col_end > 256 ||
                dims_->row_first > dims_->row_end || dims_->col_first > dims_->col_end)
                return damaged("the sheet's dimensions are beyond a sheet's");
            return QString();
        case rec::row:
            if (r.size != 16 || r.u16(2) > r.u16(4) || r.u16(4) > 256 ||
                !rows_.try_emplace(r.u16(0), r.u16(2), r.u16(4)).second)
                return sized(false);
            row_at_.push_back(r.at);
            return QString();
        case rec::index:
            if (r.size < 16 || (r.size - 16) % 4 || index_) return sized(false);
            index_.emplace();
            for (int at = 16; at < r.size; at += 4)
                index_->push_back(r.u32(at));
            return QString();
        case rec::dbcell:
            if (r.size < 4 || (r.size - 4) % 2) return sized(false);
            dbcells_.push_back(r);
            return QString();
        case rec::labelsst:
            if (r.size != 10) return sized(false);
            if (r.u32(6) >= g_.strings.size())
                return damaged("a text cell's string does not exist");
            ++sst_uses_;
            return cell(r, r.u16(4), text(g_.strings[r.u32(6)]));
        case label:
        case rstring: {
            if (r.size < 9 || r.u8(8) > 1) return sized(false);
            const int chars = r.u16(6), bytes = chars * (r.u8(8) ? 2 : 1);
            const int runs_at = 9 + bytes;
            const int end = r.type == label         ? runs_at
                            : runs_at + 2 <= r.size ? runs_at + 2 + 4 * r.u16(runs_at)
                                                    : -1;
            if (end != r.size) return sized(false);
            const QString t =
                r.u8(8) ? QString::fromUtf16(reinterpret_cast<const char16_t*>(r.data + 9), chars)
                        : QString::fromLatin1(reinterpret_cast<const char*>(r.data + 9), chars);
            return cell(r, r.u16(4), text(t));
        }
        case rec::number:
            return r.size != 14 ? sized(false) : cell(r, r.u16(4), number(r.f64(6)));
        case rk:
            return r.size != 10 ? sized(false) : cell(r, r.u16(4), number(rk_number(r.u32(6))));
        case blank:
            return r.size != 6 ? sized(false) : cell(r, r.u16(4), CellValue{});
        case mulrk:
        case mulblank: {
            // Row, first column, then per cell an XF (and for MULRK a value), last column.
            const int step = r.type == mulrk ? 6 : 2;
            if (r.size < 6 + step || (r.size - 6) % step ||
                r.u16(r.size - 2) != r.u16(2) + (r.size - 6) / step - 1)
                return sized(false);
            for (int at = 4, col = r.u16(2); at + step <= r.size - 2; at += step, ++col) {
                const CellValue v =
                    r.type == mulrk ? number(rk_number(r.u32(at + 2))) : CellValue{};
                if (QString why = add(r.u16(0), col, r.u16(at), v); !why.isEmpty()) return why;
            }
            cell_at_.push_back(r.at);
            return QString();
        }
        default:
            return QString();
        }
    }

    static bool in_cell_table(quint16 type) {
        for (const quint16 t : {rec::row, rec::dbcell, rec::labelsst, label, rstring, rec::number,
                                rk, blank, mulrk, mulblank})
            if (type == t) return true;
        return false;
    }

    // What the sheet's indexes and counts say, against what was read.
    QString check_totals() const {
        if (g_.sst_uses >= 0 && g_.sst_uses != sst_uses_)
            return damaged("the SST counts other text cells than the sheet holds");
        std::vector<qint64> dbcell_at;
        for (const Record& d : dbcells_) {
            dbcell_at.push_back(d.at);
            qint64 at = d.at - qint64(d.u32(0));
            if (!std::binary_search(row_at_.begin(), row_at_.end(), at))
                return damaged("a DBCELL does not lead back to its rows");
            at += row_record_bytes;
            for (int i = 4; i + 2 <= d.size; i += 2) {
                if (d.u16(i) == 0) continue;
                at += d.u16(i);
                if (!std::binary_search(cell_at_.begin(), cell_at_.end(), at))
                    return damaged("a DBCELL does not lead to its row's first cell");
            }
        }
        if (index_ && *index_ != std::vector<quint32>(dbcell_at.begin(), dbcell_at.end()))
            return damaged("the INDEX does not list the sheet's DBCELL records");
        return QString();
    }

    spreadsheet::StoredSheet& sheet() { return sheet_; }

  private:
    QString cell(const Record& r, quint16 xf, const CellValue& value) {
        cell_at_.push_back(r.at);
        return add(r.u16(0), r.u16(2), xf, value);
    }
    struct Dims {
        quint32 row_first, row_end;
        quint16 col_first, col_end;
    };

    const Globals& g_;
    spreadsheet::StoredSheet sheet_;
    std::optional<Dims> dims_;
    std::map<int, std::pair<int, int>> rows_; // row: first column, column end
    std::vector<qint64> row_at_, cell_at_;    // record positions, ascending
    std::vector<Record> dbcells_;
    std::optional<std::vector<quint32>> index_;
    qint64 last_key_ = -1;
    qint64 sst_uses_ = 0;
};

} // namespace

SheetReading read_biff_sheet(const QByteArray& stream, const ReadProgress& progress) {
    Globals g;
    if (QString why = read_globals(stream, &g); !why.isEmpty()) return {{}, why};
    Records records(stream, g.sheet_at);
    Record r;
    if (!records.next(&r) || r.type != rec::bof || r.size < 8 || r.u16(0) != 0x0600 ||
        r.u16(2) != 0x0010)
        return {{}, QStringLiteral("its sheet cannot be found")};
    SheetCells cells(g);
    enum { before, in, after } table = before;
    for (qint64 read = 0;; ++read) {
        if (progress && read % 4096 == 0) progress(int(records.pos() * 100 / stream.size()));
        if (!records.next(&r)) return {{}, damaged("the sheet does not end")};
        if (r.type == rec::eof) break;
        if (r.type == rec::bof) return {{}, damaged("a substream inside the sheet")};
        for (const auto& [type, what] : unkept)
            if (r.type == type)
                return {{},
                        QStringLiteral("it holds %1, which kelvo cannot write back")
                            .arg(QLatin1String(what))};
        // The rows and cells are one run of records, as every writer keeps them.
        const bool table_record = SheetCells::in_cell_table(r.type);
        if (table_record && table == after) return {{}, damaged("cells after the sheet's cells")};
        if (table_record) table = in;
        if (!table_record && table == in) table = after;
        if (QString why = cells.read(r); !why.isEmpty()) return {{}, why};
    }
    // Past the sheet, only the zeros some writers pad the stream with.
    for (qint64 at = records.pos(); at < stream.size(); ++at)
        if (stream[at] != 0) return {{}, damaged("records after the sheet")};
    if (QString why = cells.check_totals(); !why.isEmpty()) return {{}, why};
    return {std::move(cells.sheet()), QString()};
}

} // namespace xls
