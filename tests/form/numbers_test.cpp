// SPDX-License-Identifier: MIT
#include "form/numbers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

namespace {

struct Reading {
    const char* text;
    double value;
};

class LeadingNumber : public ::testing::TestWithParam<Reading> {};

TEST_P(LeadingNumber, ReadsTheLongestNumericPrefix) {
    EXPECT_DOUBLE_EQ(leading_number(QString::fromUtf8(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Captions, LeadingNumber,
                         ::testing::Values(Reading{"1.00/pixel", 1}, Reading{"12.5 mm", 12.5},
                                           Reading{"1,5", 1}, Reading{" 7", 7}, Reading{"\t 7", 7},
                                           Reading{"abc", 0}, Reading{"", 0}, Reading{"100%", 100},
                                           Reading{"-.5", -0.5}, Reading{"+3", 3}, Reading{".", 0},
                                           Reading{"-", 0}, Reading{"2e3x", 2000}, Reading{"2e", 2},
                                           Reading{"2.5E-1", 0.25}, Reading{"007", 7},
                                           Reading{"10.", 10}, Reading{"1 000", 1}));

TEST(LeadingNumber, HugeNumbersReadAsInfinityNotGarbage) {
    EXPECT_TRUE(std::isinf(leading_number(QStringLiteral("1e999"))));
    EXPECT_EQ(leading_number(QStringLiteral("1e-999")), 0.0);
}

struct Formatted {
    double value;
    const char* two;
    const char* three;
};

class Format : public ::testing::TestWithParam<Formatted> {};

TEST_P(Format, HasNoLeadingZeroAndNoGrouping) {
    EXPECT_EQ(format_2dp(GetParam().value).toStdString(), GetParam().two);
    EXPECT_EQ(format_3dp(GetParam().value).toStdString(), GetParam().three);
}

INSTANTIATE_TEST_SUITE_P(
    Results, Format,
    ::testing::Values(Formatted{0, ".00", ".000"}, Formatted{0.5, ".50", ".500"},
                      Formatted{12.3456, "12.35", "12.346"}, Formatted{-0.5, "-.50", "-.500"},
                      Formatted{1234567, "1234567.00", "1234567.000"},
                      Formatted{12.5, "12.50", "12.500"}, Formatted{0.125, ".13", ".125"},
                      Formatted{0.0005, ".00", ".001"}, Formatted{-0.001, ".00", "-.001"},
                      Formatted{99.999, "100.00", "99.999"}, Formatted{1.005, "1.01", "1.005"},
                      Formatted{2, "2.00", "2.000"}));

TEST(Format, SinglePrecisionValuesRoundOnTheirOwnDigits) {
    // 0.145f is stored as 0.14499999582...; read as the float the user sees, it is 0.145.
    EXPECT_EQ(format_2dp(0.145f).toStdString(), ".15");
    EXPECT_EQ(format_2dp(30.0f).toStdString(), "30.00");
    EXPECT_EQ(format_2dp(1.0e7f).toStdString(), "10000000.00");
}

TEST(Format, DoesNotFollowTheProcessLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    // A locale with a decimal comma. Where the system has none generated, it
    // is compiled from the definitions of Debian's `locales` package into a
    // folder of the test's own (LOCPATH: no root needed).
    QTemporaryDir compiled;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        QProcess::execute("localedef",
                          {"-i", "de_DE", "-f", "UTF-8", compiled.filePath("de_DE.UTF-8")});
        qputenv("LOCPATH", QFile::encodeName(compiled.path()));
    }
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") && *localeconv()->decimal_point == ',';
    qunsetenv("LOCPATH");
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma here: install Debian's locales package";
    EXPECT_EQ(format_2dp(1234.5).toStdString(), "1234.50");
    EXPECT_DOUBLE_EQ(leading_number(QStringLiteral("12.5")), 12.5);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(round_to_int(2.5), 2);
    EXPECT_EQ(round_to_int(3.5), 4);
    EXPECT_EQ(round_to_int(-2.5), -2);
    EXPECT_EQ(round_to_int(2.4), 2);
    EXPECT_EQ(round_to_int(1e12), 2147483647);
    EXPECT_EQ(round_to_int(-1e12), -2147483647 - 1);
    EXPECT_EQ(round_to_int(std::nan("")), 0);
}

} // namespace
