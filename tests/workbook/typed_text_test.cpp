// SPDX-License-Identifier: MIT
#include "workbook/spreadsheet.h"
#include "workbook/typed_text.h"
#include "workbook/xls_colours.h"

#include <gtest/gtest.h>

#include <cmath>

using spreadsheet::read_typed_text;
using spreadsheet::TypedValue;

TEST(TypedCellText, NumbersAreTakenOnlyWhereTheirFormatShowsThemAsTyped) {
    const struct {
        const char* typed;
        double value;
        bool two_decimals;
    } numbers[] = {// as the results are written: "0.00"
                   {".50", 0.5, true},
                   {"30.00", 30.0, true},
                   {"-1234.57", -1234.57, true},
                   {"1234567.00", 1234567.0, true},
                   {"0.00", 0.0, true},
                   {"-.50", -0.5, true},
                   // General shows them as typed
                   {"12", 12.0, false},
                   {"3.14159", 3.14159, false},
                   {"-0.5", -0.5, false},
                   {"0", 0.0, false},
                   {"12345678901", 12345678901.0, false}};
    for (const auto& n : numbers) {
        const TypedValue v = read_typed_text(QString::fromLatin1(n.typed));
        EXPECT_EQ(v.kind, TypedValue::Kind::number) << n.typed;
        EXPECT_EQ(v.number, n.value) << n.typed;
        EXPECT_EQ(v.two_decimals, n.two_decimals) << n.typed;
    }
    const TypedValue minus_zero = read_typed_text(QStringLiteral("-0.00"));
    EXPECT_EQ(minus_zero.kind, TypedValue::Kind::number);
    EXPECT_FALSE(std::signbit(minus_zero.number)) << "a typed -0 is plain zero";
}

TEST(TypedCellText, AnythingElseStaysTextAsTyped) {
    const QString texts[] = {
        QStringLiteral(" 12"), QStringLiteral("12 "), QStringLiteral("1,5"),
        QStringLiteral("1.234.5"), QStringLiteral("1e3"), QStringLiteral("0x10"),
        QStringLiteral("-"), QStringLiteral("."), QStringLiteral("+-1"), QStringLiteral("12a"),
        QStringLiteral("n/a"), QStringLiteral("inf"), QStringLiteral("١٢"), QString(400, u'9'),
        // numbers whose cell would show other digits than were typed
        QStringLiteral("007"), QStringLiteral("007.00"), QStringLiteral("+7"),
        QStringLiteral("+7.00"), QStringLiteral("5."), QStringLiteral("-.5"),
        QStringLiteral("2.50000"), QStringLiteral("-0"), QStringLiteral("123456789012"),
        QStringLiteral("12345678901234567890"), QStringLiteral("0.1000000000000000055511")};
    for (const QString& t : texts) {
        const TypedValue v = read_typed_text(t);
        EXPECT_EQ(v.kind, TypedValue::Kind::text) << t.toStdString();
        EXPECT_EQ(v.text, t);
    }
}

TEST(TypedCellText, LeadingApostropheMarksTextAndIsNotStored) {
    EXPECT_EQ(read_typed_text(QStringLiteral("'- kelvo version 0.02 -")).text,
              QStringLiteral("- kelvo version 0.02 -"));
    const TypedValue twelve = read_typed_text(QStringLiteral("'12"));
    EXPECT_EQ(twelve.kind, TypedValue::Kind::text);
    EXPECT_EQ(twelve.text, QStringLiteral("12"));
    EXPECT_EQ(read_typed_text(QStringLiteral("''quoted")).text, QStringLiteral("'quoted"));
    EXPECT_EQ(read_typed_text(QStringLiteral("'")).kind, TypedValue::Kind::empty);
    EXPECT_EQ(read_typed_text(QString()).kind, TypedValue::Kind::empty);
}

TEST(TypedCellText, LineBreaksAreStoredAsLineFeeds) {
    EXPECT_EQ(read_typed_text(QStringLiteral("a\r\nb\rc\nd")).text, QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(read_typed_text(QStringLiteral("a\r\n\r\nb\r")).text, QStringLiteral("a\n\nb\n"));
}

TEST(TypedCellText, OverlongTextIsCutTo32767UnitsWithoutSplittingACharacter) {
    const TypedValue long_text = read_typed_text(QString(40000, u'x'));
    EXPECT_EQ(long_text.text.size(), spreadsheet::max_cell_text);
    EXPECT_TRUE(long_text.truncated);

    const TypedValue exact = read_typed_text(QString(spreadsheet::max_cell_text, u'x'));
    EXPECT_EQ(exact.text.size(), spreadsheet::max_cell_text);
    EXPECT_FALSE(exact.truncated);

    // An emoji whose second half would be unit 32768 goes as a whole.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const TypedValue pair = read_typed_text(QString(32766, u'x') + emoji + QStringLiteral("y"));
    EXPECT_EQ(pair.text.size(), 32766);
    EXPECT_TRUE(pair.truncated);
    EXPECT_FALSE(pair.text.back().isHighSurrogate());

    // The limit applies after CR LF became LF.
    const TypedValue crlf = read_typed_text(QString(32765, u'x') + QStringLiteral("\r\nz"));
    EXPECT_EQ(crlf.text.size(), spreadsheet::max_cell_text);
    EXPECT_FALSE(crlf.truncated);
}

TEST(FontColour, ProgramColoursMapToTheDefaultPalette) {
    using xls::font_colour_index;
    EXPECT_EQ(font_colour_index(255), 0x000A) << "red";
    EXPECT_EQ(font_colour_index(0), 0x0008) << "black";
    EXPECT_EQ(font_colour_index(spreadsheet::window_text_colour), xls::icv_automatic);
    EXPECT_EQ(font_colour_index(0x80000005u), xls::icv_automatic) << "other system colours";
    EXPECT_EQ(font_colour_index(0x00FF0000u), 0x000C) << "blue, as 0x00BBGGRR";
    EXPECT_EQ(font_colour_index(0x0000FF00u), 0x000B) << "green";
    EXPECT_EQ(font_colour_index(0x000101FEu), 0x000A) << "almost red";
    EXPECT_EQ(font_colour_index(0x00A0A0A0u), 0x0037) << "nearest grey is 969696";
    EXPECT_EQ(font_colour_index(0x00808000u), 0x0015) << "teal: the first of two equal entries";
    EXPECT_EQ(font_colour_index(0x00818000u), 0x0015) << "near teal: still the first entry";
}
