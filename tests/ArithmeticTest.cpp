#include <gtest/gtest.h>

#include "core/Arithmetic.h"
#include "core/Errors.h"

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
