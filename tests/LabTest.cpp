#include <gtest/gtest.h>

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
