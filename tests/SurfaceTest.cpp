#include <gtest/gtest.h>

#include <array>

#include "ui/Surface.h"

using core::rgb;
using ui::Surface;

namespace {
constexpr core::Colour kWhite = rgb(255, 255, 255);
constexpr core::Colour kRed = rgb(255, 0, 0);
constexpr core::Colour kGreen = rgb(0, 255, 0);
}  // namespace

// Pixel <-> user coordinates, including the flipped axis of a value scale.
TEST(Surface, ScaleMappingTable) {
    struct Case {
        double left, top, width, height;  // user scale of a 200 x 100 pixel surface
        double x, y;                      // user point
        double px, py;                    // expected pixel position
    };
    const Case cases[] = {
        {0, 0, 200, 100, 10, 20, 10, 20},       // pixel mode equivalent
        {1000, 0, 200, 100, 1010, 50, 10, 50},  // ScaleLeft = first display column
        {0, 0, 400, 50, 100, 25, 50, 50},       // two units per pixel across, half down
        {0, 255, 200, -255, 0, 255, 0, 0},      // value scale: top value at the top edge
        {0, 255, 200, -255, 0, 0, 0, 100},      // ... bottom value at the bottom edge
        {0, 100, 200, -100, 0, 75, 0, 25},      // larger values drawn higher
        {200, 0, -200, 100, 150, 0, 50, 0},     // negative width flips left-right
        {0, -5, 200, 105, 0, 47.5, 0, 50},
    };
    for (const Case& c : cases) {
        Surface s(QSize(200, 100));
        s.setScale(c.left, c.top, c.width, c.height);
        EXPECT_DOUBLE_EQ(s.toPixelX(c.x), c.px);
        EXPECT_DOUBLE_EQ(s.toPixelY(c.y), c.py);
        EXPECT_DOUBLE_EQ(s.toUserX(c.px), c.x);
        EXPECT_DOUBLE_EQ(s.toUserY(c.py), c.y);
    }
}

// Drawings are transient until committed, and Cls restores the picture under them. A picture set
// read-only is shared in its own format, and drawings never touch it.
TEST(Surface, ClsRestoresThePictureAndCommitMakesDrawingsPersistent) {
    QImage grey(30, 10, QImage::Format_Grayscale8);
    grey.fill(77);
    const core::Colour kGrey = rgb(77, 77, 77);
    Surface s(QSize(30, 10));
    s.setPicture(grey);
    EXPECT_FALSE(s.hasDrawings());
    EXPECT_EQ(s.background().format(), QImage::Format_Grayscale8);
    EXPECT_EQ(s.background().constBits(), grey.constBits());  // shared, not copied
    s.line(10, 0, 10, 9, kRed);  // a transient pointer line
    EXPECT_EQ(s.point(10, 5), kRed);
    EXPECT_EQ(s.picture().pixel(10, 5), qRgb(77, 77, 77));
    s.cls();
    EXPECT_EQ(s.point(10, 5), kGrey);
    EXPECT_FALSE(s.hasTransient());
    s.pset(1, 1, kGreen);
    s.commit();  // the drawing becomes the picture
    s.line(20, 0, 20, 9, kRed);
    s.cls();
    EXPECT_TRUE(s.hasDrawings());
    EXPECT_EQ(s.point(1, 1), kGreen);
    EXPECT_EQ(s.point(20, 3), kGrey);
    EXPECT_EQ(s.image(), s.picture());
    EXPECT_EQ(s.background().constBits(), grey.constBits());
    s.setPicture(grey);
    EXPECT_FALSE(s.hasDrawings());
}

// Lines far outside the surface are clipped to what shows; what cannot be drawn is not, and the
// colour query answers -1 outside.
TEST(Surface, LinesFromFarOutsideAreClippedToTheSurface) {
    Surface s(QSize(100, 100));
    s.setScale(0, 100, 100, -100);
    const QImage blank = s.image().copy();
    s.line(-1e12, -1e12, 1e12, 1e12, kGreen);  // the diagonal y = x, from far outside to far outside
    for (int x : {1, 25, 50, 99}) EXPECT_EQ(s.point(x, x), kGreen) << x;
    EXPECT_EQ(s.point(50, 20), kWhite);
    s.cls();
    s.line(std::nan(""), 0, 1, 1, kRed);
    s.pset(1e30, 1e30, kRed);
    s.line(0, -9999, 99, -5000, kRed);  // wholly below the range
    EXPECT_EQ(s.image(), blank);
    EXPECT_EQ(s.point(100, 0), -1);
    EXPECT_EQ(s.point(0, -1), -1);
}

TEST(Surface, SteepLinesCoverEveryRowInTheNearestColumnOnce) {
    for (auto [x0, y0, x1, y1] : {std::array<int, 4>{10, 0, 13, 99}, std::array<int, 4>{13, 80, 10, 3},
                                  std::array<int, 4>{5, 50, 6, 0}, std::array<int, 4>{0, 0, 7, 8}}) {
        Surface s(QSize(20, 100));
        s.line(x0, y0, x1, y1, kRed);
        int previous = x0;
        for (int y = y0;; y += y0 < y1 ? 1 : -1) {
            std::vector<int> hits;
            for (int x = 0; x < 20; ++x)
                if (s.point(x, y) == kRed) hits.push_back(x);
            ASSERT_EQ(hits.size(), 1u) << "row " << y;  // one pixel per row, no gaps
            EXPECT_LE(std::abs(hits[0] - previous), 1);
            previous = hits[0];
            if (y == y1) break;
        }
        EXPECT_TRUE(s.point(x0, y0) == kRed && s.point(x1, y1) == kRed);  // both ends drawn
    }
}

// A polyline is its lines drawn one after the other: many points to a pixel column, one a column
// with steep steps, points outside or not finite, a wide pen, and the picture's pixels underneath.
TEST(Surface, APolylineDrawsWhatItsLinesDraw) {
    std::vector<QPointF> dense, steep;
    for (int i = 0; i <= 600; ++i) dense.emplace_back(i * 0.1, (i * 37) % 101);  // ten points a column
    for (int i = 0; i <= 60; ++i) steep.emplace_back(60 - i, i < 20 ? i * 5.0 : (i * 53) % 101);
    for (std::vector<QPointF>* curve : {&dense, &steep}) {
        curve->insert(curve->end(), {{61, 1e9}, {62, std::nan("")}, {63, 50}, {63, 20}, {-5, -40}, {59.7, 99.6}});
    }
    for (const std::vector<QPointF>* curve : {&dense, &steep}) {
        for (const int pen : {1, 3}) {
            for (const double height : {-100.0, 100.0}) {
                Surface lines(QSize(64, 40)), polyline(QSize(64, 40));
                for (Surface* s : {&lines, &polyline}) {
                    s->setScale(0, height < 0 ? 100 : 0, 64, height);
                    s->drawWidth = pen;
                    s->line(0, 0, 64, 100, kGreen);
                }
                const std::vector<QPointF>& c = *curve;
                for (std::size_t i = 1; i < c.size(); ++i) lines.line(c[i - 1].x(), c[i - 1].y(), c[i].x(), c[i].y(), kRed);
                polyline.polyline(c, kRed);
                EXPECT_EQ(polyline.image(), lines.image()) << "pen " << pen << ", height " << height;
            }
        }
    }
}

// A resize keeps the picture at the top-left and fills the rest with the back colour of the
// moment; what a smaller size cut off stays cut off when the surface grows again.
TEST(Surface, AResizeKeepsTheTopLeftOfThePicture) {
    const auto expectRedWithin = [](const Surface& s, QSize size, QSize red) {
        const QImage shown = s.image();
        ASSERT_EQ(shown.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                EXPECT_EQ(shown.pixel(x, y), core::toQRgb(x < red.width() && y < red.height() ? kRed : kGreen))
                    << x << "," << y;
    };
    Surface s(QSize(4, 4), kRed);
    s.resize(QSize(6, 3));
    s.setBackColour(kGreen);
    s.resize(QSize(7, 5));
    expectRedWithin(s, QSize(7, 5), QSize(6, 3));
    s.resize(QSize(2, 5));
    s.resize(QSize(5, 5));
    expectRedWithin(s, QSize(5, 5), QSize(2, 3));
}
