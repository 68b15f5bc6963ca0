#include "pointer/windows/Pointer.h"

#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "pointer/VarveYear.h"
#include "scales/ScaleMarks.h"
#include "scales/windows/ScaleForms.h"

namespace app {

// A pointer move only clears and draws transient lines: it never re-plots a curve.
void ShowCurvePointer(double x, double sourceScaleHeight) {
    PointerX = core::clng(x);
    curveWindow(1).plot->Cls();
    if (ElasticShown) DrawElasticOverlay();
    if (XrfLoaded && PointerActive) {
        for (int k = 2; k <= 6; ++k) curveWindow(k).plot->Cls();
        if (ElasticShown) DrawElasticOverlay();
        for (int k = 2; k <= 6; ++k)
            curveWindow(k).plot->Line(x, 0, x, sourceScaleHeight, core::kPointerColour);
    }
    if (PointerActive) curveWindow(1).plot->Line(x, 0, x, sourceScaleHeight, core::kPointerColour);
}

namespace {
// The year boundaries of the count, from the top, as the chronology's levels make them; found again
// only when the marks or the levels change, never at a pointer move.
const std::vector<long>& yearBoundaries() {
    static std::vector<long> positions;
    static Long version = -1;
    static QString levels;
    const files::YearRule rule = ChronologyYearRule();
    if (version == MarksVersion && levels == rule.years) return positions;
    positions.clear();
    for (long p = 1; p <= DataLength && p <= YearMark.upper(); ++p) {
        if (rule.isYear(MarkerLevel(core::Position(p)))) positions.push_back(p);
    }
    version = MarksVersion;
    levels = rule.years;
    return positions;
}
}  // namespace

// The depth of the position under the pointer, from the first two measurements' spacing, and the
// calendar year of the varve there when the chronology has a year for its top.
void ShowPointerDepth(double x) {
    const auto mm = [](long row) {
        return core::Millimetres(XrfData.get(2, row).isNumeric() ? XrfData.get(2, row).toDouble() : 0);
    };
    const core::PositionScale depths{mm(1), mm(2) - mm(1)};
    const core::PositionPoint under = positionAxis().positionOf(core::ColumnPoint(x));
    QString text = core::doubleText(depths.at(under).value) + QStringLiteral(" mm");
    if (const std::optional<int> topYear = ChronologyTopYear()) {
        const auto year =
            pointer::varveYearAt(yearBoundaries(), core::nearestPosition(under).value, *topYear);
        if (year) text += QStringLiteral(", %1").arg(*year);
    }
    frmMain->pointerReadout->setCaption(text);
}

void ClearCurvePointers() {
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
    if (ElasticShown) DrawElasticOverlay();
}

namespace {

// The plot's left end and width when the overlay was last placed: a moved or rescaled section
// places it again, so it stays under the ruler.
double placedScaleLeft = 0, placedScaleWidth = 0;

// Where the elastic scale's centre falls on the curves: under the window, in the plot units of
// the curve window nearest to it (curve window 1 before XRF data).
void placeElasticOverlay() {
    ElasticForm& e = frmElastic.get();
    int nearest = 0;
    double minimum = 999999;
    for (int k = 1; k <= 6; ++k) {
        const CurveForm& w = curveWindow(k);
        const double distance = std::hypot(e.Top() - w.Top(), e.Left() - w.Left());
        if (minimum > distance) {
            minimum = distance;
            nearest = k;
        }
    }
    const CurveForm& reference = XrfLoaded && nearest >= 2 ? curveWindow(nearest) : curveWindow(1);
    const ui::PictureBox* plot = curveWindow(1).plot;
    ElasticCentreX = static_cast<Single>((e.Left() - reference.Left()) / TwipsPerPixel + plot->ScaleLeft() +
                                         e.ScaleWidth() / 2 - 1);
    // The elastic scale's distance above the window, in pixels, as rows of the plot (the plot spreads
    // the radiograph's rows over its height).
    const double abovePixels = (reference.Top() - (e.Top() + e.Height())) / TwipsPerPixel;
    double y = plot->ScaleHeight() / 10 + plot->ScaleTop() -
               (plot->surface().toUserY(abovePixels) - plot->surface().toUserY(0));
    // Kept inside curve window 1's own client area (its top is 0).
    const double windowHeight = curveWindow(1).ScaleHeight();
    if (y < 0) y = 0;
    if (static_cast<float>(windowHeight) < y) y = windowHeight;
    ElasticCentreY = static_cast<Single>(y);
    ElasticLastTop = static_cast<Single>(e.Top());
    ElasticLastLeft = static_cast<Single>(e.Left());
    placedScaleLeft = plot->ScaleLeft();
    placedScaleWidth = plot->ScaleWidth();
}

}  // namespace

// The elastic scale's centre and marks as small circles on all six plots (transient drawing).
void DrawElasticOverlay() {
    try {
        ElasticForm& e = frmElastic.get();
        const ui::PictureBox* plot = curveWindow(1).plot;
        if (static_cast<Single>(e.Top()) != ElasticLastTop || static_cast<Single>(e.Left()) != ElasticLastLeft ||
            ElasticDragging || plot->ScaleLeft() != placedScaleLeft || plot->ScaleWidth() != placedScaleWidth) {
            placeElasticOverlay();
        }
        if (ElasticDragging) {
            for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
        }
        const core::Colour orange = core::rgb(255, 128, 0), grey = core::rgb(200, 200, 200);
        const core::Colour white = core::rgb(255, 255, 255);
        for (int k = 1; k <= 6; ++k)
            curveWindow(k).plot->Circle(ElasticCentreX, ElasticCentreY, 3, orange, core::kPointerColour);
        for (const double mark : scales::overlayMarks(ElasticInterval, e.ScaleWidth())) {
            for (int k = 1; k <= 6; ++k)
                curveWindow(k).plot->Circle(ElasticCentreX + mark, ElasticCentreY, 2, grey, white);
            for (int k = 1; k <= 6; ++k)
                curveWindow(k).plot->Circle(ElasticCentreX - mark, ElasticCentreY, 2, grey, white);
        }
    } catch (const core::RuntimeError&) {
        // A geometry the overlay cannot be placed in leaves what was drawn.
    }
}

}  // namespace app
