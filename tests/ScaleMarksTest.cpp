#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scales/ScaleMarks.h"

using scales::elasticMarks;
using scales::millimetreCounts;
using scales::overlayMarks;

TEST(ScaleMarksTest, TheMillimetreRulerCountsItsBlocksFromTheLength) {
    // 400 pixels at 50 micron: 20 mm, large pairs i = 0..2, small pairs i = 0..11.
    const scales::RulerCounts c = millimetreCounts(400 * 50 / 1000.0);
    EXPECT_EQ(c.large, 3);
    EXPECT_EQ(c.small, 12);
    EXPECT_EQ(c.divider, 12);
    const auto items = scales::rulerPattern(c.large, c.small, c.divider, 0.05);
    ASSERT_EQ(items.size(), 2u * (3 + 12 + 12));
}

// A stepping of 0, an empty or non-numeric box, or absurd values: no blocks, and never a hang.
TEST(ScaleMarksTest, UnusableLengthsAndSpacingsGiveNoMarks) {
    for (const double bad : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        const scales::RulerCounts c = millimetreCounts(bad);
        EXPECT_EQ(c.large + c.small + c.divider, 0) << bad;
        EXPECT_TRUE(elasticMarks(bad, 300).distances.empty()) << bad;
        EXPECT_TRUE(overlayMarks(bad, 300).empty()) << bad;
    }
    // A kilometre-long section: counts stop growing; blocks finer than a pixel are left out.
    const scales::RulerCounts huge = millimetreCounts(1e300);
    EXPECT_LT(huge.small, 1'000'000);
    EXPECT_TRUE(scales::rulerPattern(huge.large, huge.small, huge.divider, 1e6).empty());
    // A tiny spacing stops after a bounded number of marks.
    EXPECT_LE(elasticMarks(1e-12, 300).distances.size(), 4096u);
    EXPECT_LE(overlayMarks(1e-300, 300).size(), 4096u);
}

TEST(ScaleMarksTest, ElasticAndOverlayMarksEndWhereTheySay) {
    // First press 60 pixels right of the centre: spacing 20, marks to just beyond half the width.
    const scales::ElasticMarks m = elasticMarks(20, 50);
    EXPECT_EQ(m.distances, (std::vector<double>{20, 40, 60}));
    EXPECT_FALSE(m.tooWide);
    EXPECT_TRUE(elasticMarks(300, 1000).tooWide);  // 600 passes 500 before half the window
    EXPECT_EQ(overlayMarks(100, 250), (std::vector<double>{100, 200, 300}));
    EXPECT_EQ(overlayMarks(9999, 600), (std::vector<double>{9999}));  // never dragged: one pair far out
}
