// SPDX-License-Identifier: MIT
// Reading a workbook back: every cell keeps its value, type and font colour;
// what cannot be written back whole is refused with a reason.

#include "workbook/reader_process.h"
#include "workbook/xls_application.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using Kind = spreadsheet::CellValue::Kind;

struct Expected {
    int row, col;
    const char* typed;
    quint32 colour;
    Kind kind;
    const char* text;
    double number;
    bool two_decimals;
};

const Expected cells[] = {
    {1, 1, "'- kelvo version 0.02 -", spreadsheet::window_text_colour, Kind::text,
     "- kelvo version 0.02 -", 0, false},
    {3, 2, ".50", 255, Kind::number, "", 0.5, true},
    {3, 3, "-1234.57", 0, Kind::number, "", -1234.57, true},
    {3, 4, "12", spreadsheet::window_text_colour, Kind::number, "", 12, false},
    {3, 5, "007\nbond", 0x00FF0000, Kind::text, "007\nbond", 0, false}, // blue
};

QString save(const QTemporaryDir& dir, const QByteArray& bytes = {}) {
    const QString path = dir.filePath(QStringLiteral("book.xls"));
    if (!bytes.isEmpty()) {
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return path;
    }
    XlsApplication app;
    app.add_workbook();
    for (const Expected& c : cells) {
        app.active_sheet()->set_font_colour(c.row, c.col, c.colour);
        app.active_sheet()->set_cell(c.row, c.col, QString::fromUtf8(c.typed));
    }
    EXPECT_EQ(app.save_as(path).toStdString(), "");
    return path;
}

TEST(XlsReader, EveryCellComesBackWithItsValueTypeAndColour) {
    QTemporaryDir dir;
    std::vector<int> said;
    const auto [stored, why] =
        xls::read_in_reader_process(save(dir), [&](int percent) { said.push_back(percent); });
    ASSERT_EQ(why.toStdString(), "");
    EXPECT_TRUE(std::is_sorted(said.begin(), said.end()) && !said.empty() && said.back() == 100);
    const spreadsheet::StoredSheet* sheet = &stored;
    EXPECT_EQ(sheet->last_row, 3);
    ASSERT_EQ(sheet->cells.size(), std::size(cells));
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        const Expected& want = cells[i];
        const spreadsheet::StoredCell& got = sheet->cells[i];
        SCOPED_TRACE(want.typed);
        EXPECT_EQ(std::pair(got.row, got.col), std::pair(want.row, want.col));
        EXPECT_EQ(got.colour, want.colour);
        EXPECT_EQ(got.value.kind, want.kind);
        EXPECT_EQ(got.value.text, QString::fromUtf8(want.text));
        EXPECT_EQ(got.value.number, want.number);
        EXPECT_EQ(got.value.two_decimals, want.two_decimals);
    }
}

TEST(XlsReader, WhatCannotBeWrittenBackWholeIsRefusedWithAReason) {
    QTemporaryDir dir;
    QFile ours(save(dir));
    ASSERT_TRUE(ours.open(QIODevice::ReadOnly));
    const QByteArray good = ours.readAll();
    const auto changed = [&](const char* from, const char* to) {
        return QByteArray(good).replace(QByteArray(from, 4), QByteArray(to, 4));
    };
    // The last directory entry, free, given a name longer than any (a fuzzer's finding).
    QByteArray named_free = good;
    named_free[(qFromLittleEndian<quint32>(good.constData() + 0x30) + 2) * 512 - 128 + 0x41] = 0x20;
    const std::pair<QByteArray, const char*> refused[] = {
        {named_free, "damaged"},
        {"plain text, not a workbook", "no compound file"},
        {good.left(1024), "damaged"},
        {changed("\x03\x02\x0E\x00", "\x06\x00\x0E\x00"), "formulas"},
        // A NUMBER record's length grown over the records after it.
        {changed("\x03\x02\x0E\x00", "\x03\x02\x3A\x00"), "damaged"},
    };
    for (const auto& [bytes, reason] : refused) {
        const QString why = xls::read_in_reader_process(save(dir, bytes)).error;
        EXPECT_TRUE(why.contains(QLatin1String(reason))) << why.toStdString();
    }
}

// This process's resident memory in KiB, now (VmRSS:) or its peak (VmHWM:).
qint64 resident_kib(const char* which) {
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray all = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    return all.mid(all.indexOf(which) + qstrlen(which)).trimmed().split(' ')[0].toLongLong();
}

TEST(XlsReader, AHugeWorkbookWhoseChainsLoopIsRefusedAtOnceAndCostsTheWindowNoMemory) {
    QTemporaryDir dir;
    QFile ours(save(dir));
    ASSERT_TRUE(ours.open(QIODevice::ReadOnly));
    QByteArray looped = ours.readAll();
    // The directory's sector leads back to itself in the FAT.
    const quint32 directory = qFromLittleEndian<quint32>(looped.constData() + 0x30);
    const quint32 fat = qFromLittleEndian<quint32>(looped.constData() + 0x4C);
    qToLittleEndian(directory, looped.data() + (fat + 1) * 512 + 4 * directory);
    // Beyond any workbook kelvo writes, and just within.
    const std::pair<qint64, const char*> sizes[] = {{qint64(1) << 30, "larger than any workbook"},
                                                    {qint64(63) << 20, "damaged"}};
    for (const auto& [size, reason] : sizes) {
        const QString path = save(dir, looped);
        ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), size), 0);
        const qint64 before = resident_kib("VmRSS:");
        QFile peak(QStringLiteral("/proc/self/clear_refs")); // "5": the peak starts anew
        ASSERT_TRUE(peak.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && peak.write("5"));
        QElapsedTimer took;
        took.start();
        const QString why = xls::read_in_reader_process(path).error;
        const qint64 rise = resident_kib("VmHWM:") - before;
        std::printf("%lld MiB: refused in %lld ms, resident memory up %lld KiB\n", size >> 20,
                    took.elapsed(), rise);
        EXPECT_TRUE(why.contains(QLatin1String(reason))) << why.toStdString();
        // Refused rather than parsed: well within the reader's own time limit,
        // with room for a loaded machine (speed itself is the benchmarks' job).
        EXPECT_LT(took.elapsed(), xls::reader_time_ms + 8000);
        EXPECT_LT(rise, 64 * 1024);
    }
}

TEST(XlsReader, AReaderThatDoesNotFinishIsKilledAfterTwoSeconds) {
    QTemporaryDir dir;
    qputenv("KELVO_TEST_READER_STALLS", "1");
    QElapsedTimer took;
    took.start();
    const QString why = xls::read_in_reader_process(save(dir)).error;
    qunsetenv("KELVO_TEST_READER_STALLS");
    EXPECT_EQ(why.toStdString(), "it took too long");
    EXPECT_GE(took.elapsed(), xls::reader_time_ms);
    EXPECT_LT(took.elapsed(), xls::reader_time_ms + 8000) << "the stalled reader was not cut";
}

} // namespace
