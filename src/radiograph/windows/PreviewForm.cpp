#include "radiograph/windows/PreviewForm.h"

#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/Arithmetic.h"
#include "curves/CurveValues.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "curves/windows/LabelDialogs.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/KeyCodes.h"

namespace app {

using radiograph::kMinimumSectionWidth;
using radiograph::SectionGrip;
using radiograph::sectionGripAt;
using ui::make;

PreviewForm::PreviewForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Preview"));
    Move(120, 405, 12000, kHeight);
    QWidget* c = client();
    renderSurface = make<ui::PictureBox>(c);
    renderSurface->place(0, 0, 11880, 1035);
    renderSurface->hide();
    previewImage = make<ui::ImageBox>(c);
    previewImage->place(0, 0, 11880, 1035);
    previewImage->setMousePointer(ui::MousePointer::Cross);
    bandLines = ui::ControlArray<ui::LineShape>(0, 1, [c](long i) {
        auto* line = make<ui::LineShape>(c);
        line->setBorderColour(core::rgb(255, 255, 0));
        line->setEnds(30, 300 + 300 * i, 11880, 300 + 300 * i);
        return line;
    });
    sectionFrame = make<ui::Shape>(c);
    sectionFrame->setBorderColour(core::rgb(255, 0, 0));
    sectionFrame->setBorderWidth(2);
    sectionFrame->place(8880, 0, 3000, 1035);

    connect(previewImage, &ui::ImageBox::MouseDown, this, &PreviewForm::previewImage_MouseDown);
    connect(previewImage, &ui::ImageBox::MouseMove, this, &PreviewForm::previewImage_MouseMove);
    connect(previewImage, &ui::ImageBox::MouseUp, this, &PreviewForm::previewImage_MouseUp);
    connect(previewImage, &ui::ImageBox::Click, this, &PreviewForm::previewImage_Click);
    connect(previewImage, &ui::ImageBox::DblClick, this, &PreviewForm::previewImage_DblClick);
    mnurb = addPopupMenu(QString());
    mnuLamina = mnurb->add(QStringLiteral("Hide marker labels"));
    mnurb->addSeparator();
    mnuAlignScale = mnurb->add(QStringLiteral("Align scale"));
    mnuAlignPicture = mnurb->add(QStringLiteral("Align picture"));
    mnuAlignScale->setEnabled(false);    // enabled by the XRF import
    mnuAlignPicture->setEnabled(false);  // enabled by the photo import
    connect(mnuLamina, &ui::MenuItem::Click, this, &PreviewForm::mnuLamina_Click);
    connect(mnuAlignScale, &ui::MenuItem::Click, this, &PreviewForm::mnuAlignScale_Click);
    connect(mnuAlignPicture, &ui::MenuItem::Click, this, &PreviewForm::mnuAlignPicture_Click);
}

void PreviewForm::Form_Load() {
    ClearDragFlags();
    mnuLamina->setEnabled(false);
    for (ui::LineShape* line : bandLines) line->setEnds(30, line->Y1(), previewImage->Width(), line->Y2());
}

// The raw image window keeps the preview's width; the preview is re-rendered at its new size.
void PreviewForm::Form_Resize() {
    frmRawImage->setWidth(Width());
    if (Height() != kHeight) setHeight(kHeight);
    for (ui::LineShape* line : bandLines)
        line->setEnds(line->X1(), line->Y1(), previewImage->Width() + previewImage->Left() - 30, line->Y2());
    RenderPreview();
    DrawMarkerLabels();
}

void ClearDragFlags() {
    DragSection = DragLeftEdge = DragRightEdge = false;
    DragUpperLine = DragLowerLine = DragBand = Variant(false);
}

void DrawMarkerLabels() {
    if (!XrfLoaded) return;
    PreviewForm& preview = frmPreview.get();
    ui::PictureBox* picture = preview.renderSurface;
    picture->Cls();
    LabelCount = 0;
    LabelPositions.redim(0, 0);
    const bool shown = preview.mnuLamina->Caption() == QStringLiteral("Hide marker labels");
    for (long i = 1; shown && i <= DataLength && i <= MarkerLabel.upper(); ++i) {
        if (!isTextSet(MarkerLabel(i))) continue;
        ++LabelCount;
        LabelPositions.redimPreserve(LabelCount);
        LabelPositions(LabelCount) = static_cast<Long>(i);
        const double x =
            positionAxis().columnOf(core::Position(i)).value * picture->ScaleWidth() / DataLength;
        picture->Line(x, 0, x, picture->ScaleHeight(), core::rgb(0, 255, 255));
    }
    DrawProposalsOnPreview(picture);
    RebuildNotePositions();
    preview.previewImage->setPicture(picture->Image());
}

// ---------------------------------------------------------------------------------------------
// Dragging the section and the band

namespace {
// The section as dragged: the raw image window's rectangle follows; the curves wait for the release.
void sectionMoved(PreviewForm& preview) {
    RawImageForm& raw = frmRawImage.get();
    raw.sectionFrame->place(preview.sectionFrame->Left(), raw.sectionFrame->Top(),
                            preview.sectionFrame->Width(), raw.sectionFrame->Height());
    ViewLeft = core::clng(ColumnsPerPreviewTwip * raw.sectionFrame->Left());
    ViewRight = core::clng((raw.sectionFrame->Left() + raw.sectionFrame->Width()) * ColumnsPerPreviewTwip);
    frmMain->sectionColumnsReadout(0)->setCaption(QString::number(ViewLeft));
    frmMain->sectionColumnsReadout(1)->setCaption(QString::number(ViewRight));
    ShowSectionPositions();
}
}  // namespace

void PreviewForm::previewImage_MouseDown(int button, int, double x, double y) {
    const double left = sectionFrame->Left(), width = sectionFrame->Width();
    const SectionGrip grip = sectionGripAt(previewImage->Left() + x - left, width);
    if (grip == SectionGrip::LeftEdge) {
        DragLeftEdge = true;
        DragAnchor = core::clng(left + width);
    } else if (grip == SectionGrip::RightEdge) {
        DragRightEdge = true;
    } else if (grip == SectionGrip::Whole) {
        DragSection = true;
        GrabOffset = core::clng(x - left);
    } else if (nearBandLine(y - bandLines(0)->Y1())) {
        DragUpperLine = Variant(true);
    } else if (nearBandLine(y - bandLines(1)->Y1())) {
        DragLowerLine = Variant(true);
    } else if (bandLines(0)->Y1() < y && y < bandLines(1)->Y1()) {
        DragBand = Variant(true);
        GrabOffset = core::clng(bandLines(1)->Y1() - y);
    }
    if (button == ui::kRightButton) PopupMenu(mnurb);
}

void PreviewForm::setHoverCursor(double x, double y) {
    const SectionGrip grip =
        sectionGripAt(previewImage->Left() + x - sectionFrame->Left(), sectionFrame->Width());
    const bool bandMoving = isFlagSet(DragBand);
    if (grip == SectionGrip::LeftEdge || grip == SectionGrip::RightEdge) {
        previewImage->setMousePointer(ui::MousePointer::SizeWE);
    } else if (grip == SectionGrip::Whole) {
        previewImage->setMousePointer(ui::MousePointer::SizeAll);
    } else if (!bandMoving &&
               (nearBandLine(y - bandLines(0)->Y1()) || nearBandLine(y - bandLines(1)->Y1()))) {
        previewImage->setMousePointer(ui::MousePointer::SizeNS);
    } else if (bandLines(0)->Y1() < y && y < bandLines(1)->Y1()) {
        previewImage->setMousePointer(ui::MousePointer::Default);
    } else if (!bandMoving) {
        previewImage->setMousePointer(ui::MousePointer::Cross);
    }
}

void PreviewForm::placeBandLine(int k, double y) {
    bandLines(k)->setEnds(bandLines(k)->X1(), y, bandLines(k)->X2(), y);
}

// The mode set at the press acts; the band stays inside the image with its lines a pixel apart.
void PreviewForm::dragTo(double x, double y) {
    const double imageRight = previewImage->Left() + previewImage->Width();
    const double imageHeight = previewImage->Height();
    if (DragSection) {
        double left = x - GrabOffset;
        if (left < 1) {
            left = 1;
        } else if (left > imageRight - sectionFrame->Width() - 1) {
            left = imageRight - sectionFrame->Width() - 1;
        }
        sectionFrame->setLeft(left);
        sectionMoved(*this);
    } else if (DragRightEdge) {
        if (x > sectionFrame->Left() + kMinimumSectionWidth) {
            sectionFrame->setWidth(std::min(x, imageRight) - sectionFrame->Left());
        }
        sectionMoved(*this);
    } else if (DragLeftEdge) {
        if (x < sectionFrame->Left() + sectionFrame->Width() - kMinimumSectionWidth) {
            sectionFrame->place(std::max(x, 0.0), sectionFrame->Top(), DragAnchor - std::max(x, 0.0),
                                sectionFrame->Height());
        }
        sectionMoved(*this);
    } else if (isFlagSet(DragUpperLine)) {
        const double limit = bandLines(1)->Y1() - TwipsPerPixel;
        placeBandLine(0, std::clamp(y, 0.0, std::max(0.0, limit)));
    } else if (isFlagSet(DragLowerLine)) {
        const double limit = bandLines(0)->Y1() + TwipsPerPixel;
        placeBandLine(1, std::clamp(y, std::min(imageHeight, limit), imageHeight));
    } else if (isFlagSet(DragBand)) {
        const double scaleHeight = curveWindow(1).plot->ScaleHeight();
        const double h = scaleHeight == 0 ? 0 : BandRows * imageHeight / scaleHeight;
        double lower = y + GrabOffset;
        if (lower > imageHeight) {
            lower = imageHeight;
        } else if (lower - h < 0) {
            lower = h;
        }
        placeBandLine(1, lower);
        placeBandLine(0, lower - h);
    }
}

void PreviewForm::previewImage_MouseMove(int button, int shift, double x, double y) {
    // A drag whose release never arrived (the window lost the mouse on the way) ends here.
    const bool dragging = DragSection || DragLeftEdge || DragRightEdge || bandDragging();
    if (dragging && button == 0) {
        previewImage_MouseUp(button, shift, x, y);
        return;
    }
    setHoverCursor(x, y);
    dragTo(x, y);
    showLabelToolTip(x);
    ClearCurvePointers();
}

// The label (and note) of a labelled lamina within DataLength / 200 positions of the pointer.
void PreviewForm::showLabelToolTip(double x) {
    if (!XrfLoaded || LabelCount <= 0 || renderSurface->Width() <= 0) return;
    const double n = DataLength;
    const double at = n - n * x / renderSurface->Width();
    for (long k = 1; k <= LabelCount && k <= LabelPositions.upper(); ++k) {
        const long p = LabelPositions(k);
        if ((at - p) * (at - p) < n * n / 40000) {
            previewImage->setToolTipText(curves::markerToolTip(MarkerLabel(p), MarkerNote(p)));
            return;
        }
        previewImage->setToolTipText(QString());
    }
}

// A release applies what the drag chose, once: the section is rendered, or the band copied to
// curve window 1 (whole rows) and the grey profile computed. Every flag is cleared, also after a
// release without a press here.
void PreviewForm::previewImage_MouseUp(int, int, double x, double y) {
    if (DragLeftEdge || DragRightEdge || DragSection) {
        RenderSection();
    } else if (bandDragging()) {
        dragTo(x, y);
        CurveForm& c1 = curveWindow(1);
        const double rows = c1.plot->ScaleHeight();
        for (int k = 0; k <= 1; ++k) {
            const double row = core::roundHalfEven(bandLines(k)->Y1() * rows / previewImage->Height());
            c1.bandLines(k)->setEnds(c1.bandLines(k)->X1(), row, c1.bandLines(k)->X2(), row);
        }
        BandRows = static_cast<Integer>(core::roundHalfEven(c1.bandLines(1)->Y1() - c1.bandLines(0)->Y1()));
        ComputeGreyProfile();
        UpdateBandLabel();
    }
    ClearDragFlags();
}

void PreviewForm::previewImage_Click() {
    if (!PreviewRedrawn) RenderPreview();
}

void PreviewForm::previewImage_DblClick() {
    frmRawImage->setLeft(Left());
}
void PreviewForm::Form_DblClick() {
    frmRawImage->setLeft(Left());
}

void PreviewForm::renderSurface_KeyDown(int keyCode, int shift) {
    UndoRedoOrActivationKey(keyCode, shift);
    SetMarkerFromKey(keyCode);  // Tab places no level-9 boundary at the last click
}

void PreviewForm::renderSurface_KeyUp(int keyCode, int) {
    if (keyCode == ui::kKeyControl) CtrlDown = false;
}

void PreviewForm::mnuLamina_Click() {
    mnuLamina->setCaption(mnuLamina->Caption() == QStringLiteral("Show marker labels")
                              ? QStringLiteral("Hide marker labels")
                              : QStringLiteral("Show marker labels"));
    DrawMarkerLabels();
}

void PreviewForm::mnuAlignScale_Click() {
    frm1m->setLeft(Left());
    frm1m->setTop(Top() - frm1m->Height() > 0 ? Top() - frm1m->Height() : Top() + Height());
}

void PreviewForm::mnuAlignPicture_Click() {
    frmPhoto->setTop(Top() + Height());
    frmPhoto->setLeft(Left());
}

}  // namespace app
