#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "photo/Lab.h"

// Values worked out by hand (a calculator, single-precision tristimulus values) from the formula:
// gamma 2.2, the program's matrix, white (98.072, 100, 118.225), cube roots throughout.
TEST(LabTest, TheProgramsFormulaForWhiteBlackThePrimariesAndMidGrey) {
    struct Row {
        int r, g, b;
        float l, a, bStar;
    };
    const Row rows[] = {
        {255, 255, 255, 99.9652f, -5.3519f, 5.4681f},   // not (100, 0, 0): the matrix's white differs
        {0, 0, 0, -16.0f, 0.0f, 0.0f},                  // cube root down to black: L* = -16
        {255, 0, 0, 53.2003f, 70.4425f, 69.5581f},
        {0, 255, 0, 87.0459f, -84.4756f, 86.5738f},
        {0, 0, 255, 35.1627f, 68.9394f, -98.1819f},
        {128, 128, 128, 53.9550f, -3.2285f, 3.2986f},
    };
    for (const Row& row : rows) {
        const photo::Lab lab = photo::rgbToLab(row.r, row.g, row.b);
        EXPECT_NEAR(lab.l, row.l, 2e-4) << row.r << "," << row.g << "," << row.b;
        EXPECT_NEAR(lab.a, row.a, 2e-4) << row.r << "," << row.g << "," << row.b;
        EXPECT_NEAR(lab.b, row.bStar, 2e-4) << row.r << "," << row.g << "," << row.b;
    }
}

// The close-up's fast path (its own cube root) gives what the formula gives, over the colour cube
// (every 5th value of each channel and the extremes) to within a few units in the last place of a
// Single.
TEST(LabTest, FastPathAgreesWithTheFormulaOverTheColourCube) {
    auto closeEnough = [](float fast, float exact) {
        return std::fabs(fast - exact) <= 4e-6f * std::max(1.0f, std::fabs(exact));
    };
    int checked = 0;
    for (int r = 0; r <= 255; r += 5) {
        for (int g = 0; g <= 255; g += 5) {
            for (int b = 0; b <= 255; b += 5) {
                const photo::Lab exact = photo::rgbToLab(r, g, b);
                const photo::Lab fast = photo::rgbToLabFast(static_cast<std::uint8_t>(r),
                                                            static_cast<std::uint8_t>(g),
                                                            static_cast<std::uint8_t>(b));
                ASSERT_TRUE(closeEnough(fast.l, exact.l) && closeEnough(fast.a, exact.a) &&
                            closeEnough(fast.b, exact.b))
                    << r << "," << g << "," << b << ": " << fast.l << " " << fast.a << " " << fast.b << " vs "
                    << exact.l << " " << exact.a << " " << exact.b;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 52 * 52 * 52);
}
