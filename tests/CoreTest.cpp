#include <gtest/gtest.h>
#include <cmath>
#include <limits>

#include "core/Arithmetic.h"
#include "core/BoundedArray.h"
#include "core/Errors.h"
#include "core/Places.h"
#include "core/Variant.h"
#include "core/VariantTable.h"

using namespace core;

TEST(Arithmetic, RoundingFollowsTheProgramsConventions) {
    struct Case {
        double x, round, intFloor, fix;
    };
    const Case cases[] = {
        {2.5, 2, 2, 2},     {3.5, 4, 3, 3}, {-2.5, -2, -3, -2},
        {-2.7, -3, -3, -2}, {0.5, 0, 0, 0}, {1.49, 1, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(roundHalfEven(c.x), c.round) << c.x;
        EXPECT_EQ(intFloor(c.x), c.intFloor) << c.x;
        EXPECT_EQ(fix(c.x), c.fix) << c.x;
    }
}

TEST(Arithmetic, IntegerConversionsOverflowOutsideTheirRange) {
    EXPECT_EQ(cint(32767.4), 32767);
    EXPECT_EQ(cint(-32768.0), -32768);
    EXPECT_THROW(cint(32767.5), OverflowError);  // rounds to 32768
    EXPECT_THROW(cint(std::nan("")), OverflowError);
    EXPECT_THROW(toInteger(40000), OverflowError);
    EXPECT_EQ(clng(2251.5), 2252);
    EXPECT_THROW(clng(3e9), OverflowError);
}

TEST(Arithmetic, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"60", 60},  {"  1.5 mm", 1.5}, {"-2.25", -2.25},  {"abc", 0}, {"", 0},
        {".5", 0.5}, {"1e3", 1000},     {"2e", 2},         {"1,5", 1}, {"+7", 7},
        {"-", 0},    {"12abc3", 12},    {"3.0E-2x", 0.03},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(val(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(Arithmetic, StandardTextOfSingleHasSevenSignificantDigits) {
    EXPECT_EQ(singleText(1.5f), "1.5");
    EXPECT_EQ(singleText(0.1f), "0.1");
    EXPECT_EQ(singleText(100.0f), "100");
    EXPECT_EQ(singleText(1234567.0f), "1234567");
    EXPECT_EQ(singleText(12345678.0f), "1.234568E+07");
    EXPECT_EQ(singleText(-0.8f), "-0.8");
    EXPECT_EQ(singleText(0.0f), "0");
    EXPECT_EQ(doubleText(0.1 + 0.2), "0.3");
    EXPECT_EQ(shortestText(0.1 + 0.2), "0.30000000000000004");
}


// Positions count from the radiograph's right edge, display columns from its left; neither is taken
// for the other, nor for a plain number, nor millimetres.
static_assert(!std::is_convertible_v<Position, Column> && !std::is_convertible_v<Column, Position> &&
              !std::is_convertible_v<long, Position> && !std::is_convertible_v<Position, long> &&
              !std::is_convertible_v<Position, ColumnPoint> && std::is_convertible_v<Position, PositionPoint> &&
              !std::is_convertible_v<Millimetres, double> && !std::is_convertible_v<double, Millimetres>);

TEST(Places, ColumnsPositionsAndMillimetresConvertAlongOneAxis) {
    struct Case {
        long positions, column, position;
    };
    for (const Case c : {Case{10, 0, 10}, {10, 9, 1}, {10, 4, 6}, {30000, 1900, 28100}, {30000, 29999, 1}}) {
        const PositionAxis axis(c.positions);
        EXPECT_EQ(axis.positionOf(Column(c.column)), Position(c.position)) << c.positions << " " << c.column;
        EXPECT_EQ(axis.columnOf(Position(c.position)), Column(c.column)) << c.positions << " " << c.position;
        EXPECT_TRUE(axis.holds(Position(c.position)) && !axis.holds(Position(c.positions + 1)) && !axis.holds(Position(0)));
    }
    EXPECT_EQ(PositionAxis(10).positionOf(ColumnPoint(2.5)), PositionPoint(7.5));
    EXPECT_TRUE(nearestPosition(PositionPoint(7.5)) == Position(8) && nearestPosition(PositionPoint(6.5)) == Position(6));
    const PositionScale scale{Millimetres(0.4), Millimetres(0.2)};  // position 1 at 0.4 mm, 0.2 mm a position
    EXPECT_DOUBLE_EQ(scale.at(Position(1)).value, 0.4);
    EXPECT_DOUBLE_EQ(scale.at(Position(3)).value, 0.8);
    EXPECT_DOUBLE_EQ(scale.at(PositionPoint(0.5)).value, 0.3);
    EXPECT_NEAR(scale.stepsFromRightEdge(Millimetres(0.3)), 0, 1e-12);  // position 1 reaches half a step either side
    EXPECT_TRUE(lengthOfColumns(500, 200).value == 100 && columnsOfLength(Millimetres(100), 200) == 500);  // at 200 micron
}

TEST(Variant, NumbersCompareByValueButNeverEqualText) {
    EXPECT_TRUE(Variant(core::Integer(3)) == Variant(3.0));
    EXPECT_TRUE(Variant(core::Integer(3)) == 3);
    EXPECT_FALSE(Variant("3") == Variant(core::Integer(3)) || Variant(core::Integer(3)) == Variant("3") ||
                 Variant("3") == 3);
    EXPECT_TRUE(Variant("---") == "---");
    EXPECT_FALSE(Variant("---") == "#---");
    EXPECT_FALSE(Variant(core::Integer(1)) == "---");
    // Empty reads as zero and as nothing.
    EXPECT_TRUE(Variant() == 0 && Variant() == "");
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

// Indices outside the inclusive bounds throw, in one dimension or two, before and after a resize;
// a resize keeping the contents keeps the elements both sizes share.
TEST(BoundedArray, IndicesOutsideTheBoundsThrowAndResizesKeepWhatIsShared) {
    core::Array<int> undo(0, 50, -9999);
    EXPECT_EQ(undo(50), -9999);
    EXPECT_THROW(undo(51), core::SubscriptError);
    EXPECT_THROW(undo(-1), core::SubscriptError);
    core::Array<int> none;  // not dimensioned yet
    EXPECT_THROW(none(0), core::SubscriptError);

    core::Array<int> a(1, 3);
    a(1) = 10;
    a(3) = 30;
    a.redimPreserve(5, 7);
    EXPECT_TRUE(a(1) == 10 && a(3) == 30 && a(5) == 7);
    EXPECT_THROW(a(6), core::SubscriptError);
    a.redim(0, 1);
    EXPECT_EQ(a(0), 0);
    EXPECT_THROW(a(2), core::SubscriptError);

    core::Array2<double> profile(0, 2, 0, 10);
    profile(2, 10) = 1.5;
    EXPECT_THROW(profile(3, 0), core::SubscriptError);
    EXPECT_THROW(profile(0, 11), core::SubscriptError);
    profile.redimPreserve(4, 12);
    EXPECT_EQ(profile(2, 10), 1.5);
    EXPECT_EQ(profile(4, 12), 0.0);
}


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
