#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Errors.h"
#include "core/VariantTable.h"

using core::Variant;
using core::VariantTable;

// Every type keeps its type and value through the compact cells, including the values whose bits
// lie next to the packed ones (not-a-number, minus infinity, negative whole numbers).
TEST(VariantTableTest, EveryTypeReadsBackAsWritten) {
    VariantTable t(0, 100, 0, 26000);
    const Variant values[] = {
        Variant(), Variant(core::Integer(-32768)), Variant(core::Integer(7)), Variant(core::Long(-2147483647 - 1)),
        Variant(core::Long(100000)), Variant(1.5f), Variant(-0.0), Variant(0.018351),
        Variant(-std::numeric_limits<double>::infinity()), Variant(std::numeric_limits<double>::max()), Variant(true),
        Variant(false), Variant(core::Date{2026, 12, 6}), Variant(QStringLiteral("L000000.spe")), Variant(QString())};
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

    // Writing far out, then a wider column, moves nothing already there; a resize keeps what both
    // sizes share.
    t(2, 5) = Variant(2.5);
    t(9, 3) = Variant("x");
    t(1, 900) = Variant(core::Integer(4));
    EXPECT_TRUE(t.get(2, 5) == 2.5 && t.get(9, 3) == "x" && t.get(1, 900) == 4);
    EXPECT_TRUE(t.get(9, 899).isEmpty());
    t.redimPreserve(9, 1000);
    EXPECT_TRUE(t.get(2, 5) == 2.5 && t.get(9, 3) == "x");
    EXPECT_THROW(t.get(10, 0), core::SubscriptError);
}
