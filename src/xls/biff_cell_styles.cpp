// SPDX-License-Identifier: MIT
#include "xls/biff_cell_styles.h"

#include "xls/biff_record_types.h"

#include <QtEndian>

#include <algorithm>

#include <vector>

namespace xls {

namespace {

// Records the scan needs besides those the writer writes.
constexpr quint16 format_record = 0x041E;
constexpr quint16 filepass = 0x002F;
constexpr quint16 label = 0x0204;
constexpr quint16 rstring = 0x00D6;
constexpr quint16 rk = 0x027E;
constexpr quint16 mulrk = 0x00BD;
constexpr quint16 blank = 0x0201;
constexpr quint16 mulblank = 0x00BE;
constexpr quint16 boolerr = 0x0205;
// What the sheet would lose if it were written anew.
constexpr std::pair<quint16, const char*> unkept[] = {
    {0x0006, "formulas"},
    {0x0221, "formulas"},
    {0x04BC, "formulas"},
    {0x0236, "formulas"},
    {boolerr, "true/false or error values"},
    {0x001C, "cell notes"},
    {0x005D, "drawn objects"},
    {0x00EC, "drawn objects"},
    {0x01B6, "text boxes"},
    {0x01B8, "links"},
};

struct Record {
    quint16 type = 0;
    const char* data = nullptr;
    int size = 0;
    quint16 u16(int at) const { return at + 2 <= size ? qFromLittleEndian<quint16>(data + at) : 0; }
    quint32 u32(int at) const { return at + 4 <= size ? qFromLittleEndian<quint32>(data + at) : 0; }
};

class Records {
  public:
    Records(const QByteArray& stream, qint64 from) : s_(stream), at_(from) {}
    bool next(Record* r) {
        if (at_ + 4 > s_.size()) return false;
        r->type = qFromLittleEndian<quint16>(s_.constData() + at_);
        r->size = qFromLittleEndian<quint16>(s_.constData() + at_ + 2);
        if (at_ + 4 + r->size > s_.size()) return false;
        r->data = s_.constData() + at_ + 4;
        at_ += 4 + r->size;
        return true;
    }

  private:
    const QByteArray& s_;
    qint64 at_;
};

// The text of a FORMAT record's XLUnicodeString.
QString format_text(const Record& r) {
    const int chars = r.u16(2);
    if (r.size < 5) return {};
    if (r.data[4] & 1) {
        const int n = std::min(chars, (r.size - 5) / 2);
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(r.data + 5), n);
    }
    return QString::fromLatin1(r.data + 5, std::min(chars, r.size - 5));
}

struct Globals {
    std::vector<quint16> font_icv;                // by font index; index 4 does not exist
    std::vector<std::pair<quint16, quint16>> xfs; // font, number format
    std::map<quint16, QString> formats;
    qint64 sheet_at = -1;
    int sheets = 0;
};

QString read_globals(const QByteArray& stream, Globals* g) {
    Records records(stream, 0);
    Record r;
    if (!records.next(&r) || r.type != rec::bof || r.u16(0) != 0x0600 || r.u16(2) != 0x0005)
        return QStringLiteral("it is not an Excel 97-2003 (BIFF8) workbook");
    while (records.next(&r) && r.type != rec::eof) {
        if (r.type == filepass) return QStringLiteral("it is protected by a password");
        if (r.type == rec::font) {
            if (g->font_icv.size() == 4) g->font_icv.push_back(0x7FFF);
            g->font_icv.push_back(r.u16(4));
        } else if (r.type == rec::xf) {
            g->xfs.emplace_back(r.u16(0), r.u16(2));
        } else if (r.type == format_record) {
            g->formats[r.u16(0)] = format_text(r);
        } else if (r.type == rec::boundsheet) {
            ++g->sheets;
            if (g->sheet_at < 0 && r.size > 5 && r.data[5] == 0) g->sheet_at = r.u32(0);
        }
    }
    if (g->sheets != 1)
        return QStringLiteral("it holds %1 sheets, and kelvo writes one").arg(g->sheets);
    if (g->sheet_at < 0) return QStringLiteral("its only sheet is not a worksheet");
    return QString();
}

} // namespace

ScannedStyles scan_cell_styles(const QByteArray& stream) {
    Globals g;
    if (QString why = read_globals(stream, &g); !why.isEmpty()) return {{}, why};
    const auto style_of = [&](quint16 xf) {
        CellStyle style;
        if (xf >= g.xfs.size()) return style;
        const auto [font, format] = g.xfs[xf];
        if (font < g.font_icv.size()) style.icv = g.font_icv[font];
        style.two_decimals =
            format == 2 || (g.formats.count(format) && g.formats[format] == QLatin1String("0.00"));
        return style;
    };
    CellStyles cells;
    Records records(stream, g.sheet_at);
    Record r;
    if (!records.next(&r) || r.type != rec::bof || r.u16(2) != 0x0010)
        return {{}, QStringLiteral("its sheet cannot be found")};
    while (records.next(&r) && r.type != rec::eof) {
        for (const auto& [type, what] : unkept)
            if (r.type == type)
                return {{},
                        QStringLiteral("it holds %1, which kelvo cannot write back")
                            .arg(QLatin1String(what))};
        const int row = r.u16(0) + 1;
        switch (r.type) {
        case rec::labelsst:
        case label:
        case rstring:
        case rec::number:
        case rk:
        case blank:
            cells[{row, r.u16(2) + 1}] = style_of(r.u16(4));
            break;
        case mulrk:
        case mulblank: {
            // Row, first column, then per cell an XF (and for MULRK a value).
            const int step = r.type == mulrk ? 6 : 2;
            const int first = r.u16(2);
            for (int at = 4, col = first; at + step <= r.size - 2; at += step, ++col)
                cells[{row, col + 1}] = style_of(r.u16(at));
            break;
        }
        default:
            break;
        }
    }
    return {cells, QString()};
}

} // namespace xls
