// SPDX-License-Identifier: MIT
#include "picture/picture_header.h"

#include <QFile>
#include <QtNumeric>

namespace {

quint32 le16(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8;
}
quint32 le32(const QByteArray& b, qsizetype at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
quint32 be16(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) << 8 | quint32(quint8(b[at + 1]));
}

const QString truncated = QStringLiteral("the file is truncated");

// The first `bytes` of the file.
QByteArray head_of(QFile& file, qint64 bytes) {
    return file.read(bytes);
}

// How many rows a run-length coded bitmap's data reaches before it ends.
// Pixel runs and literal runs stay on their row; end of line and a move
// (delta) go down; end of bitmap or the end of the file stop.
qint64 rle_rows_reached(const QByteArray& data, bool four_bits) {
    qint64 row = 0;
    qsizetype at = 0;
    while (at + 1 < data.size()) {
        const quint8 count = quint8(data[at]), code = quint8(data[at + 1]);
        at += 2;
        if (count != 0) continue; // a run of `count` pixels
        if (code == 0) {
            ++row; // end of line
        } else if (code == 1) {
            return row + 1; // end of bitmap: the current row is the last one written
        } else if (code == 2) {
            if (at + 1 >= data.size()) break;
            row += quint8(data[at + 1]);
            at += 2;
        } else {
            // `code` literal pixels, padded to a 16-bit boundary.
            const qsizetype bytes = four_bits ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~qsizetype(1);
        }
    }
    return row + (at > 0 ? 1 : 0);
}

PictureHeader bmp_header(QFile& file) {
    PictureHeader header;
    const QByteArray head = head_of(file, 54);
    if (head.size() < 26 || !head.startsWith("BM")) return header;
    const quint32 offset = le32(head, 10);
    const quint32 info_size = le32(head, 14);
    qint64 width = 0, height = 0;
    quint32 bits = 0, compression = 0;
    if (info_size == 12) { // the old OS/2 header: unsigned 16-bit sides
        width = le16(head, 18);
        height = le16(head, 20);
        bits = le16(head, 24);
    } else if (info_size >= 40 && head.size() >= 34) {
        width = qint32(le32(head, 18));
        height = qint32(le32(head, 22)); // negative: rows stored top to bottom
        bits = le16(head, 28);
        compression = le32(head, 30);
    } else {
        return header;
    }
    height = qAbs(height);
    if (width <= 0 || height <= 0) return header;
    header.size = QSize(int(qMin<qint64>(width, INT_MAX)), int(qMin<qint64>(height, INT_MAX)));

    if (compression == 0 || compression == 3 || compression == 6) {
        // Uncompressed: the rows, each padded to 32 bits, must all be there.
        qint64 row_bits = 0, stride = 0, data = 0, end = 0;
        if (qMulOverflow(width, qint64(bits), &row_bits) ||
            qAddOverflow(row_bits, qint64(31), &row_bits) ||
            qMulOverflow(row_bits / 32, qint64(4), &stride) ||
            qMulOverflow(stride, height, &data) || qAddOverflow(data, qint64(offset), &end) ||
            file.size() < end)
            header.refusal = truncated;
        else
            header.complete = true;
    } else if (compression == 1 || compression == 2) {
        if (!file.seek(offset)) {
            header.refusal = truncated;
            return header;
        }
        // Reading the coded rows costs at most the file itself, which is
        // smaller than the picture it claims.
        if (rle_rows_reached(file.readAll(), compression == 2) < height)
            header.refusal = QStringLiteral("the file is truncated or damaged: its data covers "
                                            "fewer rows than the picture's %1")
                                 .arg(height);
    }
    return header;
}

// The frame size of the first start-of-frame marker.
PictureHeader jpeg_header(QFile& file) {
    PictureHeader header;
    // The frame header follows the other headers, EXIF and colour profiles
    // included; those are rarely longer than this.
    const QByteArray head = head_of(file, 1 << 20);
    qsizetype at = 2;
    while (at + 9 < head.size()) {
        if (quint8(head[at]) != 0xFF) return header;
        const quint8 marker = quint8(head[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            header.size = QSize(int(be16(head, at + 7)), int(be16(head, at + 5)));
            if (header.size.isEmpty()) header.size = QSize();
            return header;
        }
        if (marker == 0xDA || marker == 0xD9) return header; // data before any frame
        at += 2 + be16(head, at + 2);
    }
    return header;
}

PictureHeader gif_header(QFile& file) {
    PictureHeader header;
    const QByteArray head = head_of(file, 10);
    if (head.size() == 10 && head.startsWith("GIF")) {
        header.size = QSize(int(le16(head, 6)), int(le16(head, 8)));
        if (header.size.isEmpty()) header.size = QSize();
    }
    return header;
}

// Binary PBM (P4), PGM (P5) and PPM (P6): the samples follow the header
// uncompressed, so the file's size says whether they are all there.
PictureHeader pnm_header(QFile& file) {
    PictureHeader header;
    const QByteArray head = head_of(file, 1024);
    if (head.size() < 3 || head[0] != 'P' || head[1] < '4' || head[1] > '6') return header;
    const char kind = head[1];
    qint64 fields[3] = {0, 0, 1};
    const int wanted = kind == '4' ? 2 : 3;
    qsizetype at = 2;
    for (int n = 0; n < wanted; ++n) {
        while (at < head.size() && (QChar::isSpace(head[at]) || head[at] == '#')) {
            if (head[at] == '#')
                while (at < head.size() && head[at] != '\n')
                    ++at;
            else
                ++at;
        }
        qint64 value = 0;
        bool digits = false;
        while (at < head.size() && head[at] >= '0' && head[at] <= '9') {
            if (qMulOverflow(value, qint64(10), &value) ||
                qAddOverflow(value, qint64(head[at] - '0'), &value))
                return header;
            digits = true;
            ++at;
        }
        if (!digits) return header;
        fields[n] = value;
    }
    ++at; // the one white-space character before the samples
    const qint64 width = fields[0], height = fields[1];
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return header;
    header.size = QSize(int(width), int(height));
    const qint64 sample_bytes = fields[2] > 255 ? 2 : 1;
    const qint64 row = kind == '4'   ? (width + 7) / 8
                       : kind == '5' ? width * sample_bytes
                                     : width * 3 * sample_bytes;
    qint64 data = 0;
    if (qMulOverflow(row, height, &data) || file.size() < at + data)
        header.refusal = truncated;
    else
        header.complete = true;
    return header;
}

} // namespace

PictureHeader read_picture_header(const QString& path, const QByteArray& format) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (format == "bmp") return bmp_header(file);
    if (format == "jpeg") return jpeg_header(file);
    if (format == "gif") return gif_header(file);
    if (format == "pbm" || format == "pgm" || format == "ppm") return pnm_header(file);
    return {};
}
