// SPDX-License-Identifier: MIT
// Which scales may be stored: everything the results can be multiplied by and
// converted with, negative ones included.
#include "scale/calibration.h"
#include "scale/scale_limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(UsableScale, ZeroInfiniteAndOutOfRangeScalesAreRefusedWithTheReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(unusable_scale_reason(0.0), QStringLiteral("zero"));
    EXPECT_EQ(unusable_scale_reason(-0.0), QStringLiteral("zero"));
    EXPECT_EQ(unusable_scale_reason(nan), QStringLiteral("not a number"));
    EXPECT_EQ(unusable_scale_reason(inf), QStringLiteral("infinite"));
    EXPECT_EQ(unusable_scale_reason(-inf), QStringLiteral("infinite"));
    EXPECT_TRUE(unusable_scale_reason(1e31).startsWith(QStringLiteral("too large")));
    EXPECT_TRUE(unusable_scale_reason(-1e31).startsWith(QStringLiteral("too large")));
    // Its reciprocal would overflow a single.
    EXPECT_TRUE(unusable_scale_reason(1e-39).startsWith(QStringLiteral("too close to zero")));
    // Below the singles altogether: it would be stored as 0.
    EXPECT_TRUE(unusable_scale_reason(1e-50).startsWith(QStringLiteral("too close to zero")));
    for (double bad : {0.0, nan, inf, 1e31, 1e-39})
        EXPECT_FALSE(usable_scale(bad).has_value());
}

TEST(UsableScale, OrdinaryNegativeAndBoundaryScalesAreStoredAsSingles) {
    EXPECT_EQ(usable_scale(0.05), 0.05f);
    EXPECT_EQ(usable_scale(-0.05), -0.05f);
    EXPECT_EQ(usable_scale(double(largest_scale)), largest_scale);
    EXPECT_EQ(usable_scale(double(std::numeric_limits<float>::min())),
              std::numeric_limits<float>::min());
    // The largest scale keeps the longest line a picture can hold finite.
    EXPECT_TRUE(std::isfinite(largest_scale * 3e8f));
}

TEST(CalibratedScale, ReferenceLengthIsTakenAtOneHundredPercent) {
    EXPECT_EQ(float(calibrated_scale(10, 200, 100)), 0.05f);
    EXPECT_EQ(float(calibrated_scale(10, 400, 200)), 0.05f); // the same feature at 200%
    EXPECT_EQ(float(calibrated_scale(10, 20, 10)), 0.05f);   // and at 10%
    EXPECT_EQ(float(calibrated_scale(-10, 200, 100)), -0.05f);
    EXPECT_DOUBLE_EQ(calibrated_scale(25.4, 127, 50), 0.1);
}

} // namespace
