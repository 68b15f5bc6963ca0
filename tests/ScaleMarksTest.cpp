#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scales/ScaleMarks.h"

using scales::elasticMarks;
using scales::millimetreCounts;
using scales::overlayMarks;

// A stepping of 0, an empty or non-numeric box, or absurd values: no blocks, and never a hang.
TEST(ScaleMarksTest, UnusableLengthsAndSpacingsGiveNoMarks) {
    for (const double bad : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        const scales::RulerCounts c = millimetreCounts(core::Millimetres(bad));
        EXPECT_EQ(c.large + c.small + c.divider, 0) << bad;
        EXPECT_TRUE(elasticMarks(bad, 300).distances.empty()) << bad;
        EXPECT_TRUE(overlayMarks(bad, 300).empty()) << bad;
    }
    // A kilometre-long section: counts stop growing; blocks finer than a pixel are left out.
    const scales::RulerCounts huge = millimetreCounts(core::Millimetres(1e300));
    EXPECT_LT(huge.small, 1'000'000);
    EXPECT_TRUE(scales::rulerPattern(huge.large, huge.small, huge.divider, 1e6).empty());
    // A tiny spacing stops after a bounded number of marks.
    EXPECT_LE(elasticMarks(1e-12, 300).distances.size(), 4096u);
    EXPECT_LE(overlayMarks(1e-300, 300).size(), 4096u);
}
