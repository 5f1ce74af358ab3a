// SPDX-License-Identifier: MIT
// The scale bar's division as a table: zoom, scale and visible width in; the
// label, its exponent and the bar's length on screen out.
#include "scale/division.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace {

struct Row {
    const char* name;
    double zoom;
    float unit_per_px;
    double width;
    const char* caption; // nullptr: no division fits
    int exponent;
    float length;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

class DivisionTable : public ::testing::TestWithParam<Row> {};

TEST_P(DivisionTable, BarShowsTheRoundLengthThatFitsTheWindow) {
    const Row& row = GetParam();
    const std::optional<Division> division = choose_division(row.zoom, row.unit_per_px, row.width);
    if (!row.caption) {
        EXPECT_FALSE(division.has_value()) << division_caption(*division).toStdString();
        return;
    }
    ASSERT_TRUE(division.has_value());
    EXPECT_EQ(division_caption(*division).toStdString(), row.caption);
    EXPECT_EQ(division->exponent, row.exponent);
    EXPECT_FLOAT_EQ(division->length, row.length);
    // Independently of the search: the bar's pixels times the units per shown
    // pixel give the division.
    EXPECT_NEAR(double(division->length) * (100.0 / row.zoom) * row.unit_per_px,
                double(division->value), 1e-5 * double(division->value));
}

constexpr float inf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Scale, DivisionTable,
    ::testing::Values(Row{"plain_100_at_100_percent", 100, 1.0f, 500, "100", 2, 100},
                      Row{"no_power_of_ten_fits_so_200", 100, 1.0f, 1100, "200", 2, 200},
                      Row{"calibrated_ten_units", 100, 0.05f, 500, "10", 1, 200},
                      Row{"zoomed_in_shows_three_decimals", 200, 0.05f, 500, "2.000", 0, 80},
                      Row{"top_of_the_range_takes_five", 100, 2500.0f, 1000, "500000", 5, 200},
                      Row{"exactly_at_the_lower_end", 100, 1.0f, 1000, "100", 2, 100},
                      Row{"width_rounds_half_to_even_before_the_window", 100, 1.0f, 1000.5, "100",
                          2, 100},
                      Row{"width_rounds_up_above_a_half", 100, 1.0f, 1000.6, "200", 2, 200},
                      Row{"just_too_long_for_the_upper_end", 100, 1.0f, 142, "20", 1, 20},
                      Row{"zoomed_out_to_ten_percent", 10, 1.0f, 500, "1000", 3, 100},
                      Row{"zoomed_in_to_510_percent", 510, 1.0f, 500, "10", 1, 51},
                      Row{"tenths", 100, 0.001f, 500, ".100", -1, 100},
                      Row{"below_half_a_thousandth_shows_zeros", 100, 1e-6f, 500, ".000", -4, 100},
                      Row{"two_ten_thousandths_shows_zeros", 100, 1e-6f, 1100, ".000", -4, 200},
                      Row{"negative_scale_finds_nothing", 100, -1.0f, 500, nullptr, 0, 0},
                      Row{"scale_beyond_the_largest_candidate", 100, 1e7f, 1000, nullptr, 0, 0},
                      Row{"scale_below_the_smallest_candidate", 100, 1e-9f, 500, nullptr, 0, 0},
                      Row{"no_visible_width", 100, 1.0f, 0, nullptr, 0, 0},
                      Row{"infinite_scale", 100, inf, 500, nullptr, 0, 0},
                      Row{"tiniest_scale_overflows_every_candidate", 510,
                          std::numeric_limits<float>::denorm_min(), 500, nullptr, 0, 0}),
    [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

TEST(DivisionCaption, WholeNumbersFromTenUpThreeDecimalsBelow) {
    EXPECT_EQ(division_caption({10, 1, 0}), QStringLiteral("10"));
    EXPECT_EQ(division_caption({200000, 5, 0}), QStringLiteral("200000"));
    EXPECT_EQ(division_caption({1, 0, 0}), QStringLiteral("1.000"));
    EXPECT_EQ(division_caption({0.2f, -1, 0}), QStringLiteral(".200"));
    EXPECT_EQ(division_caption({0.01f, -2, 0}), QStringLiteral(".010"));
    EXPECT_EQ(division_caption({0.002f, -3, 0}), QStringLiteral(".002"));
    EXPECT_EQ(division_caption({0.00001f, -5, 0}), QStringLiteral(".000"));
}

} // namespace
