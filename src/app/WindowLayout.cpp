#include "app/WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace app::layout {

namespace {
constexpr int kCurveRows = 3;
}  // namespace

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

Point closeUp(const Rect& preview, double activeYearsWidth) {
    const Point years = activeYears(preview);
    return {years.left + activeYearsWidth, years.top};
}

double curveColumnWidth(const Rect& area) {
    return std::floor(area.width / 2);
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

}  // namespace app::layout
