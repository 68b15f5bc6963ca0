#include "scales/ScaleMarks.h"

#include <cmath>

#include "core/Arithmetic.h"

namespace scales {

namespace {
constexpr core::Colour kWhite = core::rgb(255, 255, 255);
constexpr core::Colour kBlack = core::rgb(0, 0, 0);
constexpr double kElasticLimit = 500;
constexpr double kOverlayLimit = 1000;
// More marks than this are closer than any screen can show: a tiny spacing stops here.
constexpr std::size_t kMostMarks = 4096;

bool usable(double v) {
    return std::isfinite(v) && v > 0;
}
}  // namespace

std::vector<RulerItem> rulerPattern(long large, long small, long divider, double unitsPerPixel) {
    std::vector<RulerItem> items;
    const bool largeVisible = std::isfinite(unitsPerPixel) && 10 >= unitsPerPixel;
    const bool smallVisible = std::isfinite(unitsPerPixel) && 1 >= unitsPerPixel;
    for (long i = 0; largeVisible && i < large; ++i) {
        items.push_back({true, 20.0 * i, 1, 20.0 * i + 10, 2, kWhite});
        items.push_back({true, 20.0 * i + 10, 1, 20.0 * i + 20, 2, kBlack});
    }
    for (long i = 0; smallVisible && i < small; ++i) {
        items.push_back({true, 2.0 * i, 2, 2.0 * i + 1, 3, kWhite});
        items.push_back({true, 2.0 * i + 1, 2, 2.0 * i + 2, 3, kBlack});
    }
    for (long i = 0; largeVisible && i < divider; ++i) {
        items.push_back({false, 20.0 * i, 2, 20.0 * i + 10, 2, kBlack});
        items.push_back({false, 20.0 * i + 10, 2, 20.0 * i + 20, 2, kWhite});
    }
    return items;
}

RulerCounts millimetreCounts(core::Millimetres length) {
    if (!usable(length.value)) return {};
    // Far beyond any core (a kilometre) the counts stop growing; the layers are too fine to show.
    const double l = std::min(length.value, 1e6);
    const long small = static_cast<long>(core::roundHalfEven(l / 2)) + 2;
    return {static_cast<long>(core::roundHalfEven(l / 20)) + 2, small, small};
}

ElasticMarks elasticMarks(double spacing, double halfWidth) {
    ElasticMarks marks;
    if (!usable(spacing)) return marks;
    double d = 0;
    for (;;) {
        d += spacing;
        marks.distances.push_back(d);
        if (d > kElasticLimit) {
            marks.tooWide = true;
            return marks;
        }
        if (d > halfWidth || marks.distances.size() >= kMostMarks) return marks;
    }
}

std::vector<double> overlayMarks(double spacing, double width) {
    std::vector<double> marks;
    if (!usable(spacing)) return marks;
    double k = 0;
    for (;;) {
        k += spacing;
        marks.push_back(k);
        if (k > kOverlayLimit || static_cast<float>(k) > width || marks.size() >= kMostMarks) return marks;
    }
}

}  // namespace scales
