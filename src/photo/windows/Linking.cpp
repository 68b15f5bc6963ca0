// The close-up and the curve windows show the same stretch of core: their pointers follow each
// other, and the millimetre scale can sit directly under the close-up.
//
//   "Position": one plot column is one screen pixel; plot column ViewLeft lies at the scale
//               window's left edge, (frmScale.Left - frmCrop.Left) / TwipsPerPixel pixels from
//               the close-up's left edge.
//   "Scale":    the displayed columns ViewLeft .. ViewRight + 2 span the close-up's width.
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "curves/windows/CurveForm.h"
#include "photo/windows/PhotoForms.h"
#include "scales/windows/ScaleForms.h"
#include "ui/Screen.h"

namespace app {

namespace {
// Pixels from the close-up's left edge to the scale window's (plot column ViewLeft).
double scaleOffsetPixels(const CropForm& c) {
    return (frmScale->Left() - c.Left()) / TwipsPerPixel;
}
}  // namespace

void ShowCropPointer(double x, double sourceScaleWidth) {
    if (!CropOpen) return;
    CropForm& c = frmCrop.get();
    double lineX = 0;
    if (c.mnuLinkScale->Checked()) {
        lineX = (x - ViewLeft) / (sourceScaleWidth + 2) * c.closeUpView->Width();
    } else {
        lineX = scaleOffsetPixels(c) + (x - ViewLeft);
    }
    c.pointerLine->setEnds(lineX, c.pointerLine->Y1(), lineX, c.pointerLine->Y2());
}

void ShowCurvePointersFromCloseUp(double xPixels) {
    CropForm& c = frmCrop.get();
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
    double x = 0;
    if (c.mnuLinkScale->Checked()) {
        const double width = c.closeUpView->Width();
        if (width <= 0) return;
        x = (xPixels - c.closeUpView->Left()) * (ViewRight - ViewLeft + 2) / width + ViewLeft;
    } else {
        x = xPixels + ViewLeft - scaleOffsetPixels(c);
    }
    if (!PointerActive) return;
    const double bottom = curveWindow(1).plot->ScaleHeight();
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Line(x, 0, x, bottom, core::kPointerColour);
}

void DockScaleUnderCrop() {
    CropForm& c = frmCrop.get();
    ScaleForm& scale = frmScale.get();
    scale.setLeft(c.Left());
    const double room = ui::screen::heightTwips() - 2 * scale.Height();
    if (static_cast<Single>(room) > static_cast<Single>(c.Top() + c.Height())) {
        scale.setTop(c.Top() + c.Height());
    } else {
        scale.setTop(room);
    }
    scale.Show();
}

void CropForm::mnuLinkPosition_Click() {
    if (!mnuLinkPosition->Checked()) {
        mnuLinkPosition->setChecked(true);
        mnuLinkScale->setChecked(false);
        DockScaleUnderCrop();
    }
    if (mnuLinkPosition->Checked()) frmScale->Show();
}

void CropForm::mnuLinkScale_Click() {
    if (mnuLinkScale->Checked()) return;
    mnuLinkScale->setChecked(true);
    mnuLinkPosition->setChecked(false);
}

void CropForm::mnuAlignScale_Click() {
    DockScaleUnderCrop();
}

}  // namespace app
