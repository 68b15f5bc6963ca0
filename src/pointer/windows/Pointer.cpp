#include "pointer/windows/Pointer.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "core/Arithmetic.h"
#include "app/windows/MainForm.h"
#include "curves/windows/CurveForm.h"

namespace app {

// A pointer move only clears and draws transient lines: it never re-plots a curve.
void ShowCurvePointer(double x, double sourceScaleHeight) {
    PointerX = core::clng(x);
    curveWindow(1).Picture1->Cls();
    if (ElasticShown) DrawElasticOverlay();
    if (XrfLoaded && PointerActive) {
        for (int k = 2; k <= 6; ++k) curveWindow(k).Picture1->Cls();
        if (ElasticShown) DrawElasticOverlay();
        for (int k = 2; k <= 6; ++k)
            curveWindow(k).Picture1->Line(x, 0, x, sourceScaleHeight, core::kPointerColour);
    }
    if (PointerActive) curveWindow(1).Picture1->Line(x, 0, x, sourceScaleHeight, core::kPointerColour);
}

// The depth of the position under the pointer, from the first two measurements' spacing.
void ShowPointerDepth(double x) {
    const double d1 = XrfData.get(2, 1).isNumeric() ? XrfData.get(2, 1).toDouble() : 0;
    const double d2 = XrfData.get(2, 2).isNumeric() ? XrfData.get(2, 2).toDouble() : 0;
    frmMain->Label9->setCaption(core::doubleText(d1 + (d2 - d1) * (DataLength - x - 1)));
}

void ClearCurvePointers() {
    for (int k = 1; k <= 6; ++k) curveWindow(k).Picture1->Cls();
    if (ElasticShown) DrawElasticOverlay();
}

// Not built yet: will draw the elastic scale's marks over the curves (with the elastic scale).
void DrawElasticOverlay() {}

}  // namespace app
