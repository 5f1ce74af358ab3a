// SPDX-License-Identifier: MIT
#include "workbook/sheet_wire.h"

#include <QHash>
#include <QtEndian>

#include <cmath>
#include <optional>
#include <vector>

namespace spreadsheet {

namespace {

using spreadsheet::CellValue;

constexpr char magic[] = "KRW1";
constexpr int max_reason_chars = 400;

class Out {
  public:
    template <typename T> void put(T v) {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        bytes.append(b, sizeof b);
    }
    QByteArray bytes = QByteArray(magic, 4);
};

class In {
  public:
    explicit In(const QByteArray& b) : b_(b) {}
    // None when the answer ends first.
    template <typename T> std::optional<T> take() {
        if (left() < qsizetype(sizeof(T))) return std::nullopt;
        const T v = qFromLittleEndian<T>(b_.constData() + at_);
        at_ += sizeof(T);
        return v;
    }
    std::optional<QByteArrayView> take_bytes(qsizetype n) {
        if (n < 0 || left() < n) return std::nullopt;
        at_ += n;
        return QByteArrayView(b_.constData() + at_ - n, n);
    }
    qsizetype left() const { return b_.size() - at_; }

  private:
    const QByteArray& b_;
    qsizetype at_ = 0;
};

spreadsheet::SheetReading unusable() {
    return {{}, QStringLiteral("its reader gave an answer kelvo cannot use")};
}

} // namespace

QByteArray encode_reading(const spreadsheet::SheetReading& reading) {
    Out out;
    if (!reading.error.isEmpty()) {
        const QByteArray why = reading.error.left(max_reason_chars).toUtf8();
        out.put<quint8>(1);
        out.put<quint16>(quint16(why.size()));
        return out.bytes + why;
    }
    out.put<quint8>(0);
    // The texts first, each once.
    QHash<QString, quint32> index;
    std::vector<const QString*> texts;
    for (const spreadsheet::StoredCell& cell : reading.sheet.cells) {
        if (cell.value.kind != CellValue::Kind::text || index.contains(cell.value.text)) continue;
        index.insert(cell.value.text, quint32(texts.size()));
        texts.push_back(&cell.value.text);
    }
    out.put<quint32>(quint32(texts.size()));
    for (const QString* text : texts) {
        out.put<quint32>(quint32(text->size()));
        for (const QChar c : *text)
            out.put<quint16>(c.unicode());
    }
    out.put<quint32>(quint32(reading.sheet.cells.size()));
    for (const spreadsheet::StoredCell& cell : reading.sheet.cells) {
        out.put<quint32>(quint32(cell.row));
        out.put<quint16>(quint16(cell.col));
        out.put<quint8>(quint8(cell.value.kind));
        out.put<quint8>(cell.value.two_decimals ? 1 : 0);
        out.put<quint32>(cell.colour);
        if (cell.value.kind == CellValue::Kind::number) out.put<double>(cell.value.number);
        if (cell.value.kind == CellValue::Kind::text)
            out.put<quint32>(index.value(cell.value.text));
    }
    return out.bytes;
}

spreadsheet::SheetReading decode_reading(const QByteArray& answer) {
    In in(answer);
    const std::optional<QByteArrayView> head = in.take_bytes(4);
    const std::optional<quint8> status = in.take<quint8>();
    if (!head || *head != QByteArrayView(magic, 4) || !status) return unusable();
    if (*status == 1) {
        const std::optional<quint16> n = in.take<quint16>();
        const std::optional<QByteArrayView> why = n ? in.take_bytes(*n) : std::nullopt;
        if (!why || why->isEmpty() || in.left() != 0) return unusable();
        return {{}, QString::fromUtf8(*why)};
    }
    std::optional<quint32> count = in.take<quint32>();
    if (*status != 0 || !count) return unusable();
    // No reserve(): a count is believed only as far as the bytes after it go.
    std::vector<QString> texts;
    for (quint32 i = 0; i < *count; ++i) {
        const std::optional<quint32> units = in.take<quint32>();
        const std::optional<QByteArrayView> p =
            units ? in.take_bytes(qsizetype(*units) * 2) : std::nullopt;
        if (!p) return unusable();
        QString text(qsizetype(*units), Qt::Uninitialized);
        for (quint32 u = 0; u < *units; ++u)
            text[u] = QChar(qFromLittleEndian<quint16>(p->data() + 2 * u));
        texts.push_back(std::move(text));
    }
    spreadsheet::SheetReading read;
    if (!(count = in.take<quint32>())) return unusable();
    for (quint32 i = 0; i < *count; ++i) {
        const auto row = in.take<quint32>();
        const auto col = in.take<quint16>();
        const auto kind = in.take<quint8>();
        const auto two_decimals = in.take<quint8>();
        const auto colour = in.take<quint32>();
        if (!row || !col || !kind || !two_decimals || !colour || *kind > 2 || *two_decimals > 1)
            return unusable();
        spreadsheet::StoredCell cell;
        cell.row = int(*row);
        cell.col = *col;
        cell.colour = *colour;
        cell.value.kind = CellValue::Kind(*kind);
        cell.value.two_decimals = *two_decimals;
        if (cell.value.kind == CellValue::Kind::number) {
            const std::optional<double> number = in.take<double>();
            if (!number || !std::isfinite(*number)) return unusable();
            cell.value.number = *number;
        }
        if (cell.value.kind == CellValue::Kind::text) {
            const std::optional<quint32> text = in.take<quint32>();
            if (!text || *text >= texts.size()) return unusable();
            cell.value.text = texts[*text]; // shared, not copied
        }
        const auto& last = read.sheet.cells;
        if (*row < 1 || *row > quint32(spreadsheet::max_rows) || *col < 1 ||
            *col > spreadsheet::max_columns ||
            (!last.empty() &&
             std::pair(last.back().row, last.back().col) >= std::pair(cell.row, cell.col)))
            return unusable();
        read.sheet.last_row = cell.row;
        read.sheet.cells.push_back(std::move(cell));
    }
    if (in.left() != 0) return unusable();
    return read;
}

} // namespace spreadsheet
