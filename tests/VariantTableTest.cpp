#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Errors.h"
#include "core/CurveTable.h"
#include "core/VariantTable.h"

using core::Variant;
using core::VariantTable;

// Every type keeps its type and value through the compact cells, including the values whose bits
// lie next to the packed ones (not-a-number, minus infinity, negative whole numbers).
TEST(VariantTableTest, EveryTypeReadsBackAsWritten) {
    VariantTable t(0, 100, 0, 26000);
    const Variant values[] = {Variant(),
                              Variant(core::Integer(-32768)),
                              Variant(core::Integer(7)),
                              Variant(core::Long(-2147483647 - 1)),
                              Variant(core::Long(100000)),
                              Variant(1.5f),
                              Variant(-0.0),
                              Variant(0.018351),
                              Variant(-std::numeric_limits<double>::infinity()),
                              Variant(std::numeric_limits<double>::max()),
                              Variant(true),
                              Variant(false),
                              Variant(core::Date{2026, 12, 6}),
                              Variant(QStringLiteral("L000000.spe")),
                              Variant(QString())};
    long j = 1;
    for (const Variant& v : values) t(3, j++) = v;
    j = 1;
    for (const Variant& v : values) {
        const Variant back = t(3, j++);
        EXPECT_EQ(back.type(), v.type()) << j;
        EXPECT_TRUE(back == v) << j << " " << v.toString().toStdString();
    }
    t(4, 1) = Variant(std::nan(""));
    EXPECT_EQ(t.get(4, 1).type(), Variant::Type::Double);
    EXPECT_TRUE(std::isnan(t.get(4, 1).toDouble()));
}

TEST(VariantTableTest, UnwrittenCellsAreEmptyAndBoundsAreChecked) {
    VariantTable t(0, 100, 0, 26000);
    EXPECT_TRUE(t.get(100, 26000).isEmpty());
    EXPECT_EQ(t.memoryBytes(), 0u);  // nothing laid out until written
    EXPECT_THROW(t.get(101, 1), core::SubscriptError);
    EXPECT_THROW(t(1, 26001) = Variant(1.0), core::SubscriptError);
    EXPECT_THROW(t.get(-1, 0), core::SubscriptError);
    VariantTable undimensioned;
    EXPECT_THROW(undimensioned.get(0, 0), core::SubscriptError);

    // Writing far out, then a wider column, moves nothing already there.
    t(2, 5) = Variant(2.5);
    t(9, 3) = Variant("x");
    t(1, 900) = Variant(core::Integer(4));
    EXPECT_TRUE(t.get(2, 5) == 2.5);
    EXPECT_TRUE(t.get(9, 3) == "x");
    EXPECT_TRUE(t.get(1, 900) == 4);
    EXPECT_TRUE(t.get(9, 899).isEmpty());
    t.clear();
    EXPECT_TRUE(t.get(2, 5).isEmpty());
    EXPECT_EQ(t.upper2(), 26000);
}

TEST(VariantTableTest, RedimPreserveKeepsSharedCellsAndNumbersReadForPlotting) {
    VariantTable t(0, 3, 0, 3);
    for (long i = 0; i <= 3; ++i)
        for (long j = 0; j <= 3; ++j) t(i, j) = Variant(double(10 * i + j));
    t.redimPreserve(1, 5);
    EXPECT_TRUE(t.get(1, 3) == 13.0);
    EXPECT_TRUE(t.get(1, 5).isEmpty());
    EXPECT_THROW(t.get(2, 0), core::SubscriptError);

    double v = -1;
    t(0, 4) = Variant(QStringLiteral("12.5"));
    EXPECT_TRUE(t.number(0, 4, v));
    EXPECT_EQ(v, 12.5);
    t(0, 4) = Variant(QStringLiteral("n/a"));
    EXPECT_FALSE(t.number(0, 4, v));
    t(0, 4) = Variant();
    EXPECT_TRUE(t.number(0, 4, v));
    EXPECT_EQ(v, 0);

    VariantTable copy(0, 5, 0, 5);
    copy.copyCell(t, 1, 3, 5, 5);
    t(0, 5) = Variant(QStringLiteral("text"));
    copy.copyCell(t, 0, 5, 4, 4);
    EXPECT_TRUE(copy.get(5, 5) == 13.0);
    EXPECT_TRUE(copy.get(4, 4) == "text");
}

// The curve table reads its curve columns from the XRF table it is linked to; names and the grey
// column are its own, and columns past the curves are empty.
TEST(CurveTableTest, LinkedColumnsAreTheSourceFields) {
    VariantTable xrf(0, 100, 0, 26000);
    for (long i = 1; i <= 3; ++i)
        for (long j = 1; j <= 12; ++j) xrf(j, i) = Variant(double(100 * j + i));
    core::CurveTable profile;
    profile.redim(0, 12, 0, 3);
    profile(0, 0) = Variant("Grey");
    profile(1, 0) = Variant("kcps");
    for (long i = 1; i <= 3; ++i) profile(0, i) = Variant(core::Integer(i));
    profile.link(&xrf, 8, 4);  // columns 1..4 = fields 9..12
    EXPECT_TRUE(profile.get(1, 2) == 902.0);
    EXPECT_TRUE(profile.get(4, 3) == 1203.0);
    EXPECT_TRUE(profile.get(5, 3).isEmpty());  // past the curves
    EXPECT_TRUE(profile.get(0, 3) == 3);
    EXPECT_TRUE(profile.get(1, 0) == "kcps");
    EXPECT_TRUE(profile.get(2, 0).isEmpty());
    double v = 0;
    EXPECT_TRUE(profile.number(2, 1, v));
    EXPECT_EQ(v, 1001.0);
    EXPECT_THROW(profile.get(13, 1), core::SubscriptError);
    EXPECT_THROW(profile.get(1, 4), core::SubscriptError);
    EXPECT_THROW(profile(13, 0) = Variant(1.0), core::SubscriptError);
    core::CurveTable undimensioned;
    EXPECT_FALSE(undimensioned.isAllocated());
    EXPECT_THROW(undimensioned.get(0, 0), core::SubscriptError);
}
