#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Variant.h"

using core::Variant;

TEST(Variant, NumbersCompareByValueButNeverEqualText) {
    EXPECT_TRUE(Variant(core::Integer(3)) == Variant(3.0));
    EXPECT_TRUE(Variant(core::Integer(3)) == 3);
    EXPECT_FALSE(Variant("3") == Variant(core::Integer(3)));
    EXPECT_FALSE(Variant(core::Integer(3)) == Variant("3"));
    EXPECT_FALSE(Variant("3") == 3);
    EXPECT_TRUE(Variant("---") == "---");
    EXPECT_FALSE(Variant("---") == "#---");
    EXPECT_FALSE(Variant(core::Integer(1)) == "---");
    // Empty reads as zero and as nothing.
    EXPECT_TRUE(Variant() == 0);
    EXPECT_TRUE(Variant() == "");
    EXPECT_FALSE(Variant() == 9999);
    EXPECT_TRUE(Variant(true) == -1);
    EXPECT_TRUE(Variant(core::Date{2026, 1, 2}) == Variant(core::Date{2026, 1, 2}));
    EXPECT_FALSE(Variant(core::Date{2026, 1, 2}) == Variant(core::Integer(0)));
}

TEST(Variant, TextAndNumberConversions) {
    EXPECT_EQ(Variant(core::Integer(-12)).toString(), "-12");
    EXPECT_EQ(Variant(0.1f).toString(), "0.1");
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant(core::Date{2026, 3, 4}).toString(), "2026-03-04");
    EXPECT_DOUBLE_EQ(Variant(" 2.5 ").toDouble(), 2.5);
    EXPECT_THROW(Variant("---").toDouble(), core::TypeMismatchError);
    EXPECT_THROW(Variant(1.0).asString(), core::TypeMismatchError);
    EXPECT_THROW(Variant(1.0).asInteger(), core::TypeMismatchError);
}
