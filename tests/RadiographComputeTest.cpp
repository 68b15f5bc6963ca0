#include <gtest/gtest.h>

#include "core/Arithmetic.h"
#include "radiograph/Adjust.h"
#include "radiograph/GreyProfile.h"
#include "radiograph/RangeRounding.h"
#include "radiograph/SectionFrame.h"

using radiograph::Adjustment;
using radiograph::Precision;

// The adjusted colour of a pixel: each channel times the contrast plus the brightness, clamped to
// 0..255 before the grey mean is taken (rounded half to even), or kept in colour when ticked.
TEST(AdjustedColour, ChannelsAreAdjustedAndClampedBeforeTheGreyMean) {
    EXPECT_FLOAT_EQ(radiograph::contrastFromSlider(100), 10.0f);
    EXPECT_FLOAT_EQ(radiograph::contrastFromSlider(-100), 0.1f);
    EXPECT_EQ(radiograph::brightnessFromSlider(100), 255);
    EXPECT_EQ(radiograph::brightnessFromSlider(-50), -128);  // -127.5 rounds to the even -128
    const struct {
        int r, g, b;
        Adjustment adjustment;
        core::Colour expected;
    } rows[] = {
        {0, 0, 0, {}, core::rgb(0, 0, 0)},
        {1, 1, 2, {}, core::rgb(1, 1, 1)},
        {1, 2, 2, {}, core::rgb(2, 2, 2)},
        {10, 20, 31, {}, core::rgb(20, 20, 20)},
        {100, 0, 0, {}, core::rgb(33, 33, 33)},
        {255, 255, 255, {}, core::rgb(255, 255, 255)},
        {20, 30, 0, {0, 10.0f}, core::rgb(152, 152, 152)},  // 200, 300 -> 255: (200 + 255 + 0) / 3
        {10, 200, 250, {255, 1.0f}, core::rgb(255, 255, 255)},
        {100, 200, 50, {-128, 1.0f}, core::rgb(24, 24, 24)},  // 0, 72, 0
        {10, 20, 250, {10, 1.0f, true}, core::rgb(20, 30, 255)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(radiograph::adjustedColour(row.r, row.g, row.b, row.adjustment), row.expected) << row.r;
}

TEST(AdjustedColour, TheSectionRoundsInSinglePrecision) {
    // 1.1f * 15 is 16.5000004 in double but exactly 16.5 in single precision, which rounds to 16.
    EXPECT_EQ(radiograph::adjustChannel(15, Adjustment{0, 1.1f, false, Precision::Single}), 16);
    EXPECT_EQ(radiograph::adjustChannel(15, Adjustment{0, 1.1f, false, Precision::Double}), 17);
}

// The preview takes the nearest pixel, halves to even: columns round(0.5 x) are 0 0 1 2 2 2 3 4,
// and the last one lies outside, whose channels (-1, 0, 0) give black.
TEST(Rendering, PreviewSamplesTheNearestPixelWithHalvesToEven) {
    QImage source(4, 1, QImage::Format_Grayscale8);
    for (int x = 0; x < 4; ++x) source.scanLine(0)[x] = static_cast<uchar>(10 * (x + 1));
    const QImage preview = radiograph::renderPreview(source, 8, 1, 0.5, 1.0, Adjustment{});
    const int expected[] = {10, 10, 20, 30, 30, 30, 40, 0};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(qRed(preview.pixel(x, 0)), expected[x]) << x;
}

// The band's mean grey per column, position 1 being the right-hand column. Lines between rows take
// the rows their positions round to, over the band's unrounded height; crossed lines take the rows
// between them; rows outside the picture count for nothing and never divide by zero.
TEST(GreyProfile, BandMeansFromTheRightHandEnd) {
    // Column x holds x + 10 in every row; row 5 holds 200 everywhere.
    QImage source(6, 10, QImage::Format_Grayscale8);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 6; ++x) source.scanLine(y)[x] = static_cast<uchar>(y == 5 ? 200 : x + 10);
    }
    QImage band(3, 100, QImage::Format_Grayscale8);
    band.fill(0);
    for (int y = 40; y <= 60; ++y) std::fill_n(band.scanLine(y), 3, uchar(21));
    QImage flat(2, 10, QImage::Format_Grayscale8);
    flat.fill(90);
    const struct {
        const QImage& image;
        double upper, lower;
        std::size_t position;
        int grey;
    } rows[] = {
        {source, 2, 2, 0, 0},      {source, 2, 2, 1, 15},  {source, 2, 2, 6, 10},
        {source, 5, 5, 3, 200},    {source, 4, 6, 6, 73},  // (10 + 200 + 10) / 3
        {band, 40.5, 60.5, 2, 21},                          // rows 40..60, divisor 21
        {flat, 7, 3, 1, 90},       {flat, 6, 10, 1, 90},   {flat, 12, 20, 1, 0}, {flat, -5, -1, 2, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(radiograph::greyProfile(row.image, row.upper, row.lower)[row.position], row.grey)
            << row.upper << ".." << row.lower << " at " << row.position;
    EXPECT_EQ(radiograph::greyProfile(QImage(), 0, 1).size(), 1u);
}

TEST(GreyProfile, ABandMostlyOutsideThePictureStaysAGreyLevel) {
    // Lines at -2.505 and -0.5 take rows -3..0 and only row 0 exists: the unrounded height less
    // the three missing rows would leave 0.005 of a row, and 255 / 0.005 overflows 16 bits.
    QImage source(3, 10, QImage::Format_Grayscale8);
    source.fill(255);
    for (const double upper : {-2.505, -2.9, -1.6}) {
        const auto profile = radiograph::greyProfile(source, upper, -0.5);
        for (std::size_t i = 1; i < profile.size(); ++i) EXPECT_EQ(profile[i], 255) << upper;
    }
    // A band reaching below the picture gives what it gives inside a taller picture of that grey.
    source.fill(100);
    QImage taller(3, 20, QImage::Format_Grayscale8);
    taller.fill(100);
    for (const double lower : {10.0, 10.6, 12.4}) {
        EXPECT_EQ(radiograph::greyProfile(source, 8.5, lower)[1],
                  radiograph::greyProfile(taller, 8.5, lower)[1])
            << lower;
    }
}

TEST(RangeRounding, RoundsOutwardOnAGridThatGrowsWithTheValues) {
    struct Case {
        bool up;
        float a, b, result;
    };
    const Case cases[] = {
        {true, 37, 12, 40},    {false, 12, 40, 10},  {true, 12000, 0, 13000}, {false, -12000, 0, -15000},
        {true, 100, 0, 150},   {false, 100, 0, 100}, {false, -5, 0, -10},     {true, -5, 0, -5},
        {true, 0.8f, 0.2f, 5}, {true, 999, 0, 1000}, {false, 1234, 0, 1000},  {true, -12000, 0, -10000},
    };
    for (const Case& c : cases) {
        const core::Variant r =
            c.up ? radiograph::RoundUpToStep(c.a, c.b) : radiograph::RoundDownToStep(c.a, c.b);
        EXPECT_EQ(r.type(), core::Variant::Type::Single) << c.a;
        EXPECT_FLOAT_EQ(static_cast<float>(r.toDouble()), c.result) << (c.up ? "up " : "down ") << c.a;
    }
    EXPECT_EQ(radiograph::RoundUpToStep(0, 50).type(), core::Variant::Type::Integer);
    EXPECT_TRUE(radiograph::RoundDownToStep(0, 50) == 0);
}

TEST(GreyProfile, EveryChannelSumGivesItsRoundedMean) {
    // One column per channel sum 0..765, so the fast integer form is checked against round(s / 3).
    QImage source(766, 1, QImage::Format_RGB32);
    for (int s = 0; s <= 765; ++s) {
        const int r = std::min(s, 255), g = std::min(s - r, 255), b = s - r - g;
        source.setPixel(s, 0, qRgb(r, g, b));
    }
    const auto profile = radiograph::greyProfile(source, 0, 0);
    for (int s = 0; s <= 765; ++s) {
        ASSERT_EQ(profile[766 - s], static_cast<int>(core::roundHalfEven(s / 3.0))) << s;
    }
}

// A press takes an edge within two pixels of it, the whole frame inside it, or nothing. A frame
// narrower than 16 pixels (the section of a long core in the preview) is taken whole anywhere
// inside, its edges only from just outside.
TEST(SectionFrame, APressTakesAnEdgeTheWholeFrameOrNothing) {
    using G = radiograph::SectionGrip;
    const std::tuple<double, double, G> rows[] = {  // width, press, grip
        {600, -30, G::None},  {600, -29, G::LeftEdge},  {600, 29, G::LeftEdge}, {600, 30, G::Whole},
        {600, 570, G::Whole}, {600, 571, G::RightEdge}, {600, 629, G::RightEdge}, {600, 630, G::None},
        {240, 29, G::LeftEdge}, {239, 29, G::Whole},    {60, -29, G::LeftEdge}, {60, 0, G::LeftEdge},
        {60, 1, G::Whole},    {60, 59, G::Whole},       {60, 60, G::RightEdge}, {60, 89, G::RightEdge},
        {60, 90, G::None},    {60, -30, G::None}};
    for (const auto& [width, at, grip] : rows)
        EXPECT_EQ(radiograph::sectionGripAt(at, width), grip) << width << " wide, pressed at " << at;
}
