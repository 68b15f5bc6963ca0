#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "photo/CloseUp.h"
#include "photo/Lab.h"

using photo::CropRect;

namespace {

QImage filledPhoto(int width, int height, QRgb colour) {
    QImage photo(width, height, QImage::Format_RGB32);
    photo.fill(colour);
    return photo;
}

}  // namespace

// The frame on the photo window (twips) to photo pixels, with the photo shown at other sizes than
// its own and dragged up or down, and frames that start elsewhere than the photo's left edge.
TEST(CloseUpTest, FrameMapsToPhotoPixels) {
    struct Row {
        QRectF frame;
        double photoTop;
        QSizeF displayed;
        QSize photo;
        CropRect expected;
    };
    const Row rows[] = {
        {{2500, 300, 4000, 200}, 0, {10000, 1000}, {1000, 100}, {250, 30, 650, 50}},
        {{2500, 300, 4000, 200}, -150, {10000, 1000}, {1000, 100}, {250, 45, 650, 65}},  // photo dragged up
        {{2500, 300, 4000, 200}, 120, {10000, 1000}, {1000, 100}, {250, 18, 650, 38}},   // and down
        {{0, 0, 15, 15}, 0, {10000, 1000}, {2000, 100}, {0, 0, 3, 1.5f}},
        {{27000, 94.5, 900, 790}, 0, {28000, 945}, {939, 60}, {905.464f, 6, 935.646f, 56.1587f}},  // a strip
        {{2500, 300, 4000, 200}, 0, {0, 1000}, {1000, 100}, {0, 0, 0, 0}},  // nothing shown: no mapping
    };
    for (const Row& row : rows) {
        const CropRect c = photo::cropRectOf(row.frame, row.photoTop, row.displayed, row.photo);
        const CropRect& e = row.expected;
        EXPECT_TRUE(std::max({std::abs(c.left - e.left), std::abs(c.top - e.top), std::abs(c.right - e.right),
                              std::abs(c.bottom - e.bottom)}) < 1e-3)
            << row.frame.left() << ", " << row.photoTop << ": " << c.left << " " << c.top << " " << c.right << " " << c.bottom;
    }
}

// Outside the photo the strip reads red -1, green and blue 0, and so comes out (254, 255, 255) at
// brightness +255 (the sliders themselves are tried through the close-up). A frame dragged far
// beyond the photo is refused, not allocated.
TEST(CloseUpTest, StripReadsOutsideThePhotoAsMinusOne) {
    QImage photo = filledPhoto(4, 3, qRgb(200, 125, 0));
    const photo::StripRegion region{-1, 1, 6, 3};  // one column left of the photo, one row below it
    const QImage s = photo::renderStrip(photo, region, photo::closeUpAdjustment(100, 0));
    ASSERT_EQ(s.size(), QSize(6, 3));
    for (const QPoint outside : {QPoint(0, 0), QPoint(5, 0), QPoint(2, 2)}) EXPECT_EQ(s.pixel(outside), qRgb(254, 255, 255));
    EXPECT_EQ(photo::renderStrip(photo, region, photo::closeUpAdjustment(0, -100)).pixel(1, 0), qRgb(20, 12, 0));  // 12.5 to even
    EXPECT_TRUE(photo::renderStrip(photo, {0, 0, 0, 3}, photo::closeUpAdjustment(0, 0)).isNull());
    EXPECT_TRUE(photo::renderStrip(photo, {0, 0, 1 << 20, 1 << 20}, photo::closeUpAdjustment(0, 0)).isNull());
}

// The profile means each channel over the band's photo rows in every model; a band beyond the
// strip divides by its full height, and bands thinner than half a row never divide by zero.
TEST(CloseUpTest, ProfileMeansOverTheBandInEveryModel) {
    QImage photo = filledPhoto(10, 30, qRgb(100, 150, 200));
    for (int y = 0; y < 30; ++y) {
        photo.setPixel(2, y, qRgb(1, 1, 2));
        photo.setPixel(3, y, qRgb(1, 2, 2));
    }
    const CropRect crop{0, 0, 10, 20};
    const photo::StripRegion region = photo::stripRegion(crop);
    const auto p = photo::computeColourProfile(photo, crop, region, {4.5f, 9.5f});  // rows 5..9
    EXPECT_EQ(p.upper1(), 11);
    EXPECT_EQ(p.upper2(), 7);
    const photo::Lab lab = photo::rgbToLab(100, 150, 200);
    EXPECT_TRUE(p(0, photo::kRed) == 100 && p(0, photo::kGreen) == 150 && p(0, photo::kBlue) == 200);
    EXPECT_NEAR(p(0, photo::kLabL), lab.l, 1e-4);
    EXPECT_NEAR(p(0, photo::kLabA), lab.a, 1e-4);
    EXPECT_NEAR(p(0, photo::kLabB), lab.b, 1e-4);
    EXPECT_FLOAT_EQ(p(0, photo::kGrey), 150);
    EXPECT_FLOAT_EQ(p(2, photo::kGrey), 1);  // (1, 1, 2): 4 / 3 rounds to 1
    EXPECT_FLOAT_EQ(p(3, photo::kGrey), 2);  // (1, 2, 2): 5 / 3 rounds to 2
    // Column 10 lies beyond the photo: black, L* = -16. Column n + 1 and channel 0 stay 0.
    EXPECT_FLOAT_EQ(p(10, photo::kRed), 0);
    EXPECT_NEAR(p(10, photo::kLabL), -16, 1e-4);
    EXPECT_FLOAT_EQ(p(11, photo::kLabL), 0);
    EXPECT_FLOAT_EQ(p(0, 0), 0);

    const QImage grey = filledPhoto(4, 30, qRgb(100, 100, 100));
    const CropRect crop4{0, 0, 4, 20};
    // Half the band lies below the strip's last row (20): 5 of 10 rows count.
    const auto half = photo::computeColourProfile(grey, crop4, photo::stripRegion(crop4), {15, 25});
    EXPECT_FLOAT_EQ(half(1, photo::kRed), 50);
    // Bands thinner than half a photo row never divide by zero.
    const auto between = photo::computeColourProfile(grey, crop4, photo::stripRegion(crop4), {5.2f, 5.4f});  // no row
    EXPECT_FLOAT_EQ(between(1, photo::kRed), 0);
    const auto one = photo::computeColourProfile(grey, crop4, photo::stripRegion(crop4), {4.8f, 5.1f});  // row 5
    EXPECT_FLOAT_EQ(one(1, photo::kRed), 100);
    EXPECT_TRUE(std::isfinite(one(1, photo::kLabA)));
    // A crop of zero width still has column 0.
    const auto thin = photo::computeColourProfile(grey, {2, 0, 2, 20}, photo::stripRegion({2, 0, 2, 20}),
                                                  {4.5f, 9.5f});
    EXPECT_EQ(thin.upper1(), 1);
    EXPECT_FLOAT_EQ(thin(0, photo::kRed), 100);
}

// Dragging the curve scale: 1500 twips up over a 100-pixel close-up gives x 2.5; far down the
// curves go flat, then mirrored.
TEST(CloseUpTest, TheScaleDragStretchesFlattensAndMirrorsTheCurves) {
    EXPECT_FLOAT_EQ(photo::draggedProfileScale(1, 3000, 1500, 100), 2.5f);
    EXPECT_FLOAT_EQ(photo::draggedProfileScale(1, 0, 1000, 100), 0);
    EXPECT_LT(photo::draggedProfileScale(1, 0, 2000, 100), 0);
    EXPECT_FLOAT_EQ(photo::draggedProfileScale(2, 0, 2000, 0), 2);
}

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
        {255, 0, 0, 53.2003f, 70.4425f, 69.5581f}, {0, 255, 0, 87.0459f, -84.4756f, 86.5738f},
        {0, 0, 255, 35.1627f, 68.9394f, -98.1819f}, {128, 128, 128, 53.9550f, -3.2285f, 3.2986f},
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
