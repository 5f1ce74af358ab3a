// SPDX-License-Identifier: MIT
// Workbooks written by the program, read back by an independent reader.

#include "workbook/xls_application.h"

#include "../support/xls_readback.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr quint32 red = 255;
constexpr quint32 black = 0;

class XlsWorkbookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(app_.add_workbook(), QString());
        sheet_ = app_.active_sheet();
        ASSERT_NE(sheet_, nullptr);
    }

    void type(int row, int col, const QString& text) {
        ASSERT_EQ(sheet_->set_cell(row, col, text).error.toStdString(), "");
    }
    void colour(int row, int col, quint32 c) {
        ASSERT_EQ(sheet_->set_font_colour(row, col, c).toStdString(), "");
    }

    ReadWorkbook save_and_read(const QString& name = QStringLiteral("results.xls")) {
        const QString path = dir_.filePath(name);
        EXPECT_EQ(app_.save_as(path).toStdString(), "");
        ReadWorkbook book = read_xls(path);
        EXPECT_TRUE(book.ok()) << book.failure.toStdString();
        EXPECT_TRUE(book.problems.isEmpty()) << book.problems.join(u'\n').toStdString();
        return book;
    }

    static void expect_text(const ReadWorkbook& book, int row, int col, const QString& text) {
        const ReadCell* cell = book.at(row, col);
        ASSERT_NE(cell, nullptr) << "no cell at " << row << "," << col;
        EXPECT_EQ(cell->type, QStringLiteral("text")) << row << "," << col;
        EXPECT_EQ(cell->text, text) << row << "," << col;
        EXPECT_EQ(cell->format, QStringLiteral("General")) << row << "," << col;
    }
    static void expect_number(const ReadWorkbook& book, int row, int col, double value,
                              const char* colour, const char* format = "0.00") {
        const ReadCell* cell = book.at(row, col);
        ASSERT_NE(cell, nullptr) << "no cell at " << row << "," << col;
        EXPECT_EQ(cell->type, QStringLiteral("number")) << row << "," << col;
        EXPECT_EQ(cell->number, value) << row << "," << col;
        EXPECT_EQ(cell->format, QLatin1String(format)) << row << "," << col;
        EXPECT_EQ(cell->colour, QLatin1String(colour)) << row << "," << col;
    }

    static QString colour_at(const ReadWorkbook& book, int row, int col) {
        const ReadCell* cell = book.at(row, col);
        return cell ? cell->colour : QStringLiteral("(no cell)");
    }
    static bool wraps_at(const ReadWorkbook& book, int row, int col) {
        const ReadCell* cell = book.at(row, col);
        return cell && cell->wrap;
    }

    QTemporaryDir dir_;
    XlsApplication app_;
    SpreadsheetSheet* sheet_ = nullptr;
};

TEST_F(XlsWorkbookTest, ResultRowsReadBackWithTheirTextsNumbersAndColours) {
    type(1, 1, QStringLiteral("'- kelvo version 0.02 -"));
    const char* header[] = {"filename", "X", "Y", "D", "comment"};
    for (int c = 0; c < 5; ++c)
        type(2, c + 1, QLatin1String(header[c]));
    type(3, 1, QStringLiteral("C:\\pictures\\sample_00000.bmp"));
    type(3, 2, QStringLiteral(".50"));
    colour(3, 2, red);
    type(3, 3, QStringLiteral("30.00"));
    colour(3, 3, black);
    type(3, 4, QStringLiteral("-1234.57"));
    colour(3, 4, spreadsheet::window_text_colour);
    type(3, 5, QStringLiteral("ok"));
    type(4, 1, QStringLiteral("/home/ann/pictures/b.png"));
    colour(4, 2, red); // the colour may come before the value
    type(4, 2, QStringLiteral("1234567.00"));
    type(4, 3, QStringLiteral("12"));
    type(4, 4, QStringLiteral("n/a"));
    type(4, 5, QString()); // no comment

    const ReadWorkbook book = save_and_read();
    expect_text(book, 1, 1, QStringLiteral("- kelvo version 0.02 -"));
    for (int c = 0; c < 5; ++c)
        expect_text(book, 2, c + 1, QLatin1String(header[c]));
    expect_text(book, 3, 1, QStringLiteral("C:\\pictures\\sample_00000.bmp"));
    expect_number(book, 3, 2, 0.5, "#FF0000");
    expect_number(book, 3, 3, 30.0, "#000000");
    expect_number(book, 3, 4, -1234.57, "auto");
    expect_text(book, 3, 5, QStringLiteral("ok"));
    expect_text(book, 4, 1, QStringLiteral("/home/ann/pictures/b.png"));
    expect_number(book, 4, 2, 1234567.0, "#FF0000");
    expect_number(book, 4, 3, 12.0, "auto", "General");
    expect_text(book, 4, 4, QStringLiteral("n/a"));
    EXPECT_EQ(book.at(4, 5), nullptr) << "an empty comment writes no cell";
    EXPECT_EQ(book.cells.size(), 1u + 5u + 5u + 4u);
    EXPECT_EQ(colour_at(book, 1, 1), QStringLiteral("auto"));
}

TEST_F(XlsWorkbookTest, FontColoursShowAsTheNearestPaletteColour) {
    type(1, 1, QStringLiteral("1"));
    colour(1, 1, 0x0000FF00u); // green
    type(1, 2, QStringLiteral("2"));
    colour(1, 2, 0x00A0A0A0u); // light grey, nearest 969696
    type(1, 3, QStringLiteral("3"));
    colour(1, 3, 0x00FF0000u); // blue
    type(1, 4, QStringLiteral("red text"));
    colour(1, 4, red);
    type(1, 5, QStringLiteral("back to automatic"));
    colour(1, 5, red);
    colour(1, 5, 0x80000008u);
    colour(2, 1, red); // a colour alone makes no cell

    const ReadWorkbook book = save_and_read();
    expect_number(book, 1, 1, 1.0, "#00FF00", "General");
    expect_number(book, 1, 2, 2.0, "#969696", "General");
    expect_number(book, 1, 3, 3.0, "#0000FF", "General");
    expect_text(book, 1, 4, QStringLiteral("red text"));
    EXPECT_EQ(colour_at(book, 1, 4), QStringLiteral("#FF0000"));
    EXPECT_EQ(colour_at(book, 1, 5), QStringLiteral("auto"));
    EXPECT_EQ(book.at(2, 1), nullptr);
}

TEST_F(XlsWorkbookTest, CommentLineBreaksReadBackAsLineFeedsInAWrappingCell) {
    type(1, 5, QStringLiteral("first line\r\nsecond line\rthird line\nfourth"));
    type(2, 5, QStringLiteral("one line"));
    type(3, 5, QStringLiteral("red\r\nlines"));
    colour(3, 5, red);

    const ReadWorkbook book = save_and_read();
    expect_text(book, 1, 5, QStringLiteral("first line\nsecond line\nthird line\nfourth"));
    EXPECT_TRUE(wraps_at(book, 1, 5));
    expect_text(book, 2, 5, QStringLiteral("one line"));
    EXPECT_FALSE(wraps_at(book, 2, 5));
    expect_text(book, 3, 5, QStringLiteral("red\nlines"));
    EXPECT_TRUE(wraps_at(book, 3, 5));
    EXPECT_EQ(colour_at(book, 3, 5), QStringLiteral("#FF0000"));
}

TEST_F(XlsWorkbookTest, UnicodeTextReadsBackUnchanged) {
    const QString texts[] = {
        QString::fromUtf8("caf\xC3\xA9 \xC3\xBF Gr\xC3\xB6\xC3\x9F"
                          "e"),                    // Latin-1 only
        QString::fromUtf8("Preis 5 \xE2\x82\xAC"), // euro: not Latin-1
        QString::fromUtf8("\xE6\xB8\xAC\xE5\xAE\x9A_\xE5\x86\x99\xE7\x9C\x9F.bmp"), // CJK
        QString::fromUtf8("emoji \xF0\x9F\x98\x80\xF0\x9F\x94\xAC and \xF0\x9D\x90\x80"),
        QString::fromUtf8("\xD0\x92\xD1\x82\xD0\xBE\xD1\x80\xD0\xB0\xD1\x8F "
                          "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"), // Cyrillic, Hebrew
    };
    int row = 1;
    for (const QString& t : texts)
        type(row++, 1, t);
    type(row, 1, texts[0]); // the same text twice is shared, and shown twice

    const ReadWorkbook book = save_and_read(QString::fromUtf8("\xE7\xB5\x90\xE6\x9E\x9C.xls"));
    row = 1;
    for (const QString& t : texts)
        expect_text(book, row++, 1, t);
    expect_text(book, row, 1, texts[0]);
}

TEST_F(XlsWorkbookTest, TextLongerThanACellHoldsIsCutAndTheCutIsReported) {
    // Laid out so that the cut falls between the halves of an emoji.
    QString long_comment = QStringLiteral("Comment: ");
    while (long_comment.size() < 40000)
        long_comment += QString::fromUtf8("Kommentar \xF0\x9F\x98\x80 ");
    ASSERT_TRUE(long_comment.at(spreadsheet::max_cell_text - 1).isHighSurrogate());
    const spreadsheet::CellTyping cut = sheet_->set_cell(1, 5, long_comment);
    ASSERT_EQ(cut.error, QString());
    EXPECT_TRUE(cut.cut);
    const spreadsheet::CellTyping whole = sheet_->set_cell(2, 5, QStringLiteral("short"));
    ASSERT_EQ(whole.error, QString());
    EXPECT_FALSE(whole.cut) << "each cell reports its own cut";

    const ReadWorkbook book = save_and_read();
    expect_text(book, 1, 5, long_comment.left(spreadsheet::max_cell_text - 1));
    expect_text(book, 2, 5, QStringLiteral("short"));
}

// Enough text to need many CONTINUE records (with strings, surrogate pairs
// and compressed runs cut at every kind of place) and several FAT sectors.
TEST_F(XlsWorkbookTest, LargeWorkbookWithLongCommentsReadsBackCompletely) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x94\xAC");
    std::vector<QString> comments;
    for (int i = 0; i < 1500; ++i) {
        QString c = QStringLiteral("row %1 ").arg(i);
        const int length = 1 + (i * 37) % 400;
        switch (i % 3) {
        case 0: // Latin-1 only: stored one byte per character
            while (c.size() < length)
                c += QString::fromUtf8("abc\xC3\xA9 ");
            break;
        case 1: // UTF-16 full of surrogate pairs
            c += QString(i % 2, u'x');
            while (c.size() < length)
                c += emoji;
            break;
        default:
            while (c.size() < length)
                c += QString::fromUtf8("\xD0\xB4\xD0\xBB\xD0\xB8\xD0\xBD\xD0\xB0 ");
        }
        comments.push_back(c);
        type(i + 3, 1, QStringLiteral("picture_%1.bmp").arg(i));
        type(i + 3, 2, QStringLiteral("%1.25").arg(i));
        type(i + 3, 5, c);
    }

    const ReadWorkbook book = save_and_read();
    EXPECT_GE(book.sst_continues, 20);
    EXPECT_GE(book.fat_sectors, 2);
    EXPECT_EQ(book.difat_sectors, 0);
    for (int i = 0; i < 1500; ++i) {
        expect_text(book, i + 3, 1, QStringLiteral("picture_%1.bmp").arg(i));
        expect_number(book, i + 3, 2, i + 0.25, "auto");
        expect_text(book, i + 3, 5, comments[i]);
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_EQ(book.cells.size(), 3u * 1500u);
}

// Past about 7 MB the sector table no longer fits the file header's list and
// continues in DIFAT sectors, past about 15.5 MB in a chain of them.
TEST_F(XlsWorkbookTest, WorkbookOfMoreThanFifteenMegabytesReadsBack) {
    const int rows = 5200;
    const QString kanji = QString::fromUtf8("\xE9\x95\xB7\xE3\x81\x95");
    for (int row = 1; row <= rows; ++row)
        type(row, 5, QStringLiteral("%1 ").arg(row) + kanji.repeated(800));

    const ReadWorkbook book = save_and_read();
    EXPECT_GT(book.stream_size, 16'000'000);
    EXPECT_GE(book.difat_sectors, 2);
    ASSERT_EQ(book.cells.size(), static_cast<std::size_t>(rows));
    expect_text(book, 1, 5, QStringLiteral("1 ") + kanji.repeated(800));
    expect_text(book, rows, 5, QStringLiteral("%1 ").arg(rows) + kanji.repeated(800));
}

TEST_F(XlsWorkbookTest, SheetHoldsRowsUpTo65536AndRefusesMore) {
    type(1, 1, QStringLiteral("first"));
    type(spreadsheet::max_rows, 1, QStringLiteral("last row"));
    type(spreadsheet::max_rows, 256, QStringLiteral("1.5"));

    const QString full =
        sheet_->set_cell(spreadsheet::max_rows + 1, 1, QStringLiteral("too far")).error;
    EXPECT_TRUE(full.contains(QStringLiteral("full"))) << full.toStdString();
    EXPECT_TRUE(full.contains(QStringLiteral("65536")));
    EXPECT_NE(sheet_->set_font_colour(spreadsheet::max_rows + 1, 1, red), QString());
    EXPECT_TRUE(
        sheet_->set_cell(1, 257, QStringLiteral("x")).error.contains(QStringLiteral("256")));
    EXPECT_NE(sheet_->set_cell(0, 1, QStringLiteral("x")).error, QString());
    EXPECT_NE(sheet_->set_cell(1, 0, QStringLiteral("x")).error, QString());

    const ReadWorkbook book = save_and_read();
    expect_text(book, 1, 1, QStringLiteral("first"));
    expect_text(book, spreadsheet::max_rows, 1, QStringLiteral("last row"));
    expect_number(book, spreadsheet::max_rows, 256, 1.5, "auto", "General");
    EXPECT_EQ(book.cells.size(), 3u) << "refused cells leave nothing behind";
}

} // namespace
