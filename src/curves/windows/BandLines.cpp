// Curve window 1: dragging the band lines, whose rows are averaged into the grey profile.
#include <algorithm>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/Rendering.h"

namespace app {

namespace {
// A line is grabbed closer than two rows or three screen pixels, whichever is more: the plot spreads
// the radiograph's rows over the layout's height, so a row may be a fraction of a pixel.
constexpr double kNearRows = 2, kNearPixels = 3;

bool nearRow(const ui::PictureBox& plot, double y, double row) {
    const ui::Surface& s = plot.surface();
    return std::abs(y - row) < kNearRows || std::abs(s.toPixelY(y) - s.toPixelY(row)) < kNearPixels;
}

}  // namespace

void CurveForm::HakusenDown(double, double y) {
    const double upper = bandLines(0)->Y1(), lower = bandLines(1)->Y1();
    if (nearRow(*plot, y, upper)) {
        DragUpperLine = Variant(true);
    } else if (nearRow(*plot, y, lower)) {
        DragLowerLine = Variant(true);
    } else if (upper < y && y < lower) {
        DragBand = Variant(true);
        GrabOffset = core::clng(lower - y);
    }
}

// The lines stay a row apart and the band inside the picture; rows outside it are never used.
void CurveForm::applyBandDrag(double y) {
    const double height = plot->ScaleHeight();
    const auto place = [this](int k, double row) {
        bandLines(k)->setEnds(bandLines(k)->X1(), row, bandLines(k)->X2(), row);
    };
    if (isFlagSet(DragUpperLine)) {
        const double lower = bandLines(1)->Y1();
        place(0, std::clamp(y, 0.0, std::max(0.0, lower - 1)));
    } else if (isFlagSet(DragLowerLine)) {
        const double upper = bandLines(0)->Y1();
        place(1, std::clamp(y, std::min(height, upper + 1), height));
    } else if (isFlagSet(DragBand)) {
        double lower = y + GrabOffset;
        lower = std::clamp(lower, static_cast<double>(BandRows), height);
        place(1, lower);
        place(0, lower - BandRows);
    } else {
        return;
    }
    UpdateBandLabel();
}

void CurveForm::HakusenMove(double x, double y) {
    MainForm& m = frmMain.get();
    m.pixelReadout(0)->setCaption(core::doubleText(x));
    const double upper = bandLines(0)->Y1(), lower = bandLines(1)->Y1();
    m.pixelReadout(1)->setCaption(core::doubleText((y - upper) * (y - upper)));
    const bool nearLine = nearRow(*plot, y, upper) || nearRow(*plot, y, lower);
    if (nearLine) {
        plot->setMousePointer(ui::MousePointer::SizeNS);
    } else if (upper < y && y < lower) {
        plot->setMousePointer(ui::MousePointer::Default);
    } else {
        plot->setMousePointer(ui::MousePointer::Cross);
    }
    applyBandDrag(y);
}

void CurveForm::HakusenUp(double, double y) {
    if (bandDragging()) {
        applyBandDrag(y);
        CopyBandToPreview();
        BandRows = static_cast<Integer>(core::roundHalfEven(bandLines(1)->Y1() - bandLines(0)->Y1()));
        ComputeGreyProfile();
        UpdateBandLabel();
    }
    ClearDragFlags();
}

}  // namespace app
