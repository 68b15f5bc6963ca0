#include <gtest/gtest.h>

#include <vector>

#include "curves/CurveValues.h"

using curves::curveValueRange;

TEST(CurveValuesTest, AutomaticRangesRoundOutwardAndTypedValuesStay) {
    const std::vector<float> values = {0, 143, 151, 388};
    curves::ValueRange r = curveValueRange(values, {}, {}, false);
    EXPECT_EQ(r.top, 400.0f);
    EXPECT_EQ(r.bottom, 100.0f);
    EXPECT_FALSE(r.autoRange);
    r = curveValueRange(values, QStringLiteral("350"), QStringLiteral("120.5"), false);
    EXPECT_EQ(r.top, 350.0f);
    EXPECT_EQ(r.bottom, 120.5f);
    r = curveValueRange(values, QStringLiteral("1"), QStringLiteral("0"), false);
    EXPECT_EQ(r.top, 2.0f);  // a top of exactly 1 becomes 2
    r = curveValueRange(values, QStringLiteral("abc"), QStringLiteral("0"), false);
    EXPECT_EQ(r.top, 0.0f);  // a box that does not start with a number reads as 0
    // (Ratios with gaps and small ranges that settle are tried through curve window 4.)
}

TEST(CurveValuesTest, RangeBoxesKeepATextThatAlreadyReadsAsTheValue) {
    // Typed "1.50" and the half-typed "0." and "-" stay as the user typed them.
    const std::tuple<const char*, float, const char*> boxes[] = {{"", 400.0f, "400"}, {"1.50", 1.5f, "1.50"},
                                                                 {"0.", 0.0f, "0."},  {"-", 0.0f, "-"},
                                                                 {"1", 2.0f, "2"},    {"", 0.1f, "0.1"}};
    for (const auto& [typed, value, shown] : boxes)
        EXPECT_EQ(curves::rangeBoxText(QString::fromLatin1(typed), value), shown) << typed;
}
