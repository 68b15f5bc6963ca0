#include "app/WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace app::layout {

namespace {
constexpr int kCurveRows = 3;
}  // namespace

bool contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

Point mainWindow(const Rect& area) {
    return {area.left, area.top};
}

double previewWidth(const Rect& area, double left) {
    return std::max(kMinimumPreviewWidth, area.right() - left);
}

Rect preview(const Rect& area, const Rect& main) {
    const double left = main.right();
    return {left, main.top + kMetreScaleHeight, previewWidth(area, left), kPreviewHeight};
}

Point activeYears(const Rect& preview) {
    return {preview.left, preview.bottom() + kPhotoStripRoom};
}

Rect closeUp(const Rect& area, const Rect& activeYears, double width, double height, double bottomLimit) {
    Rect place{std::min(activeYears.right(), area.right() - width), activeYears.top, width, height};
    if (overlap(place, activeYears)) place.top = activeYears.bottom();
    if (place.bottom() > bottomLimit) place.height = std::max(0.0, bottomLimit - place.top);
    return place;
}

double curveColumnWidth(const Rect& area) {
    return std::floor(area.width / 2);
}

CurveRows curveRows(const Rect& area, const Rect& mainSize) {
    const double mainBottom = mainWindow(area).top + mainSize.height;
    const double withElasticAbove = std::floor((area.bottom() - mainBottom - kElasticHeight - kScaleHeight) / kCurveRows);
    if (withElasticAbove >= kSmallestCurveWindowHeight)
        return {mainBottom + kElasticHeight, withElasticAbove, true};
    const double scalesRow = std::max(kScaleHeight, kElasticHeight);
    const double shared = std::floor((area.bottom() - mainBottom - scalesRow) / kCurveRows);
    return {mainBottom, std::max(shared, kSmallestCurveWindowHeight), false};
}

Point firstCurveWindow(const Rect& area, const Rect& main, double windowHeight) {
    const double spare = area.bottom() - kScaleHeight - kCurveRows * windowHeight - main.bottom();
    return {area.left, main.bottom() + std::clamp(spare, 0.0, kElasticHeight)};
}

double curveRowPitch(const Rect& area, double firstTop, double windowHeight) {
    const double fitting = (area.bottom() - kScaleHeight - firstTop - windowHeight) / (kCurveRows - 1);
    return std::clamp(fitting, std::min(kCurveControlStrip, windowHeight), windowHeight);
}

long sectionColumns(const Rect& area, double twipsPerPixel, double extraPixels, long coreColumns) {
    const double plotPixels = std::floor((curveColumnWidth(area) - kCurveFrameWidth) / twipsPerPixel);
    const double columns = plotPixels - extraPixels;
    return std::max(1L, std::min(coreColumns, static_cast<long>(std::max(1.0, columns))));
}

std::vector<Rect> fitPlaces(const Rect& area, const std::vector<WindowPlace>& windows) {
    const std::size_t n = windows.size();
    std::vector<Rect> places(n);
    std::vector<bool> kept(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        kept[i] = windows[i].kept && contains(area, *windows[i].kept);
        places[i] = kept[i] ? *windows[i].kept : windows[i].laidOut;
    }
    // Each pass gives up one kept place, so this ends after at most n passes.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i = 0; i < n && !changed; ++i) {
            if (!kept[i]) continue;
            for (std::size_t j = 0; j < n && !changed; ++j) {
                if (j == i || !overlap(places[i], places[j])) continue;
                kept[i] = false;
                places[i] = windows[i].laidOut;
                changed = true;
            }
        }
    }
    return places;
}

}  // namespace app::layout
