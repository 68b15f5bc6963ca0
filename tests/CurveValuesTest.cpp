#include <gtest/gtest.h>

#include <vector>

#include "curves/CurveValues.h"

using core::Variant;
using curves::curveValueRange;
using curves::kMissingValue;

namespace {
core::CurveTable table(const std::vector<double>& column1, const std::vector<double>& column2) {
    core::CurveTable t;
    t.redim(0, 3, 0, static_cast<long>(column1.size()));
    t(1, 0) = Variant("Fe");
    t(2, 0) = Variant("Ti");
    for (std::size_t i = 0; i < column1.size(); ++i) {
        t(1, static_cast<long>(i + 1)) = Variant(column1[i]);
        t(2, static_cast<long>(i + 1)) = Variant(column2[i]);
    }
    return t;
}
}  // namespace

TEST(CurveValuesTest, RatiosLeaveGapsWhereTheDenominatorIsZeroOrNoNumber) {
    core::CurveTable t = table({10, 20, 30, 40}, {2, 0, 4, 8});
    std::vector<float> values(5, 123.0f);
    curves::fillCurveValues(t, 1, 2, values);
    EXPECT_EQ(values[0], 123.0f);  // element 0 is not a position
    EXPECT_EQ(values[1], 5.0f);
    EXPECT_EQ(values[2], kMissingValue);
    EXPECT_EQ(values[3], 7.5f);
    t(2, 4) = Variant("---");
    curves::fillCurveValues(t, 1, 2, values);
    EXPECT_EQ(values[4], kMissingValue);
    curves::fillCurveValues(t, 1, 0, values);  // no denominator: the plain values
    EXPECT_EQ(values[2], 20.0f);

    // With a gap the automatic bottom is 0 and the top is rounded up.
    curves::fillCurveValues(t, 1, 2, values);
    const curves::ValueRange r = curveValueRange(values, {}, {}, false);
    EXPECT_EQ(r.bottom, 0.0f);
    EXPECT_EQ(r.top, 10.0f);  // 7.5 rounded up to the step of 5
    EXPECT_FALSE(r.autoRange);
}

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
}

// A small ratio curve (top below 1) with negative values: the top stays unrounded and the window
// keeps waiting for its rounding, but the bottom, once written into its box, never moves again:
// redrawing must neither lower it at every call nor call itself without end.
TEST(CurveValuesTest, ASmallTopStaysAutomaticWithoutMovingTheBottomAgain) {
    const std::vector<float> values = {0, -0.3f, 0.8f, 0.2f};
    curves::ValueRange r = curveValueRange(values, {}, {}, false);
    EXPECT_EQ(r.top, 0.8f);
    EXPECT_TRUE(r.autoRange);
    EXPECT_EQ(r.bottom, -5.0f);
    const QString top = curves::rangeBoxText({}, r.top), bottom = curves::rangeBoxText({}, r.bottom);
    EXPECT_EQ(top, "0.8");
    EXPECT_EQ(bottom, "-5");
    for (int call = 0; call < 3; ++call) {
        r = curveValueRange(values, top, bottom, r.autoRange);
        EXPECT_EQ(r.bottom, -5.0f);
        EXPECT_EQ(r.top, 0.8f);
    }
}

TEST(CurveValuesTest, RangeBoxesKeepATextThatAlreadyReadsAsTheValue) {
    EXPECT_EQ(curves::rangeBoxText(QString(), 400.0f), "400");
    EXPECT_EQ(curves::rangeBoxText(QStringLiteral("1.50"), 1.5f), "1.50");  // as typed
    EXPECT_EQ(curves::rangeBoxText(QStringLiteral("0."), 0.0f), "0.");      // half typed
    EXPECT_EQ(curves::rangeBoxText(QStringLiteral("-"), 0.0f), "-");
    EXPECT_EQ(curves::rangeBoxText(QStringLiteral("1"), 2.0f), "2");
    EXPECT_EQ(curves::rangeBoxText(QString(), 0.1f), "0.1");
}
