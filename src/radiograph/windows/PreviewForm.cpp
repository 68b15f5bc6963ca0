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

using ui::make;

PreviewForm::PreviewForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Preview"));
    Move(120, 405, 12000, kHeight);
    QWidget* c = client();
    Picture2 = make<ui::PictureBox>(c);
    Picture2->place(0, 0, 11880, 1035);
    Picture2->hide();
    Image2 = make<ui::ImageBox>(c);
    Image2->place(0, 0, 11880, 1035);
    Image2->setMousePointer(ui::MousePointer::Cross);
    Line1 = ui::ControlArray<ui::LineShape>(0, 1, [c](long i) {
        auto* line = make<ui::LineShape>(c);
        line->setBorderColour(core::rgb(255, 255, 0));
        line->setEnds(30, 300 + 300 * i, 11880, 300 + 300 * i);
        return line;
    });
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 0, 0));
    Shape1->setBorderWidth(2);
    Shape1->place(8880, 0, 3000, 1035);

    connect(Image2, &ui::ImageBox::MouseDown, this, &PreviewForm::Image2_MouseDown);
    connect(Image2, &ui::ImageBox::MouseMove, this, &PreviewForm::Image2_MouseMove);
    connect(Image2, &ui::ImageBox::MouseUp, this, &PreviewForm::Image2_MouseUp);
    connect(Image2, &ui::ImageBox::Click, this, &PreviewForm::Image2_Click);
    connect(Image2, &ui::ImageBox::DblClick, this, &PreviewForm::Image2_DblClick);
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
    for (ui::LineShape* line : Line1) line->setEnds(30, line->Y1(), Image2->Width(), line->Y2());
}

// The raw image window keeps the preview's width; the preview is re-rendered at its new size.
void PreviewForm::Form_Resize() {
    frmRawImage->setWidth(Width());
    if (Height() != kHeight) setHeight(kHeight);
    for (ui::LineShape* line : Line1)
        line->setEnds(line->X1(), line->Y1(), Image2->Width() + Image2->Left() - 30, line->Y2());
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
    ui::PictureBox* picture = preview.Picture2;
    picture->Cls();
    LabelCount = 0;
    LabelPositions.redim(0, 0);
    const bool shown = preview.mnuLamina->Caption() == QStringLiteral("Hide marker labels");
    for (long i = 1; shown && i <= DataLength && i <= MarkerLabel.upper(); ++i) {
        if (!isTextSet(MarkerLabel(i))) continue;
        ++LabelCount;
        LabelPositions.redimPreserve(LabelCount);
        LabelPositions(LabelCount) = static_cast<Integer>(i);
        const double x = (DataLength - i) * picture->ScaleWidth() / DataLength;
        picture->Line(x, 0, x, picture->ScaleHeight(), core::rgb(0, 255, 255));
    }
    DrawProposalsOnPreview(picture);
    RebuildNotePositions();
    preview.Image2->setPicture(picture->Image());
}

// ---------------------------------------------------------------------------------------------
// Dragging the section and the band

namespace {
// The section as dragged: the raw image window's rectangle follows; the curves wait for the release.
void sectionMoved(PreviewForm& preview) {
    RawImageForm& raw = frmRawImage.get();
    raw.Shape1->place(preview.Shape1->Left(), raw.Shape1->Top(), preview.Shape1->Width(), raw.Shape1->Height());
    ViewLeft = core::clng(ColumnsPerPreviewTwip * raw.Shape1->Left());
    ViewRight = core::clng((raw.Shape1->Left() + raw.Shape1->Width()) * ColumnsPerPreviewTwip);
    frmMain->Label1(0)->setCaption(QString::number(ViewLeft));
    frmMain->Label1(1)->setCaption(QString::number(ViewRight));
    ShowSectionPositions();
}
}  // namespace

void PreviewForm::Image2_MouseDown(int button, int, double x, double y) {
    const double left = Shape1->Left(), width = Shape1->Width(), offset = Image2->Left();
    if (nearSectionEdge(offset + x - left)) {
        DragLeftEdge = true;
        DragAnchor = core::clng(left + width);
    } else if (nearSectionEdge(offset + x - left - width)) {
        DragRightEdge = true;
    } else if (left + offset < x && x < left + offset + width) {
        DragSection = true;
        GrabOffset = core::clng(x - left);
    } else if (nearSectionEdge(y - Line1(0)->Y1())) {
        DragUpperLine = Variant(true);
    } else if (nearSectionEdge(y - Line1(1)->Y1())) {
        DragLowerLine = Variant(true);
    } else if (Line1(0)->Y1() < y && y < Line1(1)->Y1()) {
        DragBand = Variant(true);
        GrabOffset = core::clng(Line1(1)->Y1() - y);
    }
    if (button == ui::kRightButton) PopupMenu(mnurb);
}

void PreviewForm::setHoverCursor(double x, double y) {
    const double left = Shape1->Left(), width = Shape1->Width(), offset = Image2->Left();
    const bool bandMoving = isFlagSet(DragBand);
    if (nearSectionEdge(offset + x - left) || nearSectionEdge(offset + x - left - width)) {
        Image2->setMousePointer(ui::MousePointer::SizeWE);
    } else if (left + offset < x && x < left + offset + width) {
        Image2->setMousePointer(ui::MousePointer::SizeAll);
    } else if (!bandMoving && (nearSectionEdge(y - Line1(0)->Y1()) || nearSectionEdge(y - Line1(1)->Y1()))) {
        Image2->setMousePointer(ui::MousePointer::SizeNS);
    } else if (Line1(0)->Y1() < y && y < Line1(1)->Y1()) {
        Image2->setMousePointer(ui::MousePointer::Default);
    } else if (!bandMoving) {
        Image2->setMousePointer(ui::MousePointer::Cross);
    }
}

void PreviewForm::placeBandLine(int k, double y) {
    Line1(k)->setEnds(Line1(k)->X1(), y, Line1(k)->X2(), y);
}

// The mode set at the press acts; the band stays inside the image with its lines a pixel apart.
void PreviewForm::dragTo(double x, double y) {
    const double imageRight = Image2->Left() + Image2->Width();
    const double imageHeight = Image2->Height();
    if (DragSection) {
        double left = x - GrabOffset;
        if (left < 1) {
            left = 1;
        } else if (left > imageRight - Shape1->Width() - 1) {
            left = imageRight - Shape1->Width() - 1;
        }
        Shape1->setLeft(left);
        sectionMoved(*this);
    } else if (DragRightEdge) {
        if (x > Shape1->Left() + kMinimumSectionWidth) {
            Shape1->setWidth(std::min(x, imageRight) - Shape1->Left());
        }
        sectionMoved(*this);
    } else if (DragLeftEdge) {
        if (x < Shape1->Left() + Shape1->Width() - kMinimumSectionWidth) {
            Shape1->place(std::max(x, 0.0), Shape1->Top(), DragAnchor - std::max(x, 0.0), Shape1->Height());
        }
        sectionMoved(*this);
    } else if (isFlagSet(DragUpperLine)) {
        const double limit = Line1(1)->Y1() - TwipsPerPixel;
        placeBandLine(0, std::clamp(y, 0.0, std::max(0.0, limit)));
    } else if (isFlagSet(DragLowerLine)) {
        const double limit = Line1(0)->Y1() + TwipsPerPixel;
        placeBandLine(1, std::clamp(y, std::min(imageHeight, limit), imageHeight));
    } else if (isFlagSet(DragBand)) {
        const double scaleHeight = curveWindow(1).Picture1->ScaleHeight();
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

void PreviewForm::Image2_MouseMove(int button, int shift, double x, double y) {
    // A drag whose release never arrived (the window lost the mouse on the way) ends here.
    const bool dragging = DragSection || DragLeftEdge || DragRightEdge || bandDragging();
    if (dragging && button == 0) {
        Image2_MouseUp(button, shift, x, y);
        return;
    }
    setHoverCursor(x, y);
    dragTo(x, y);
    showLabelToolTip(x);
    ClearCurvePointers();
}

// The label (and note) of a labelled lamina within DataLength / 200 positions of the pointer.
void PreviewForm::showLabelToolTip(double x) {
    if (!XrfLoaded || LabelCount <= 0 || Picture2->Width() <= 0) return;
    const double n = DataLength;
    const double at = n - n * x / Picture2->Width();
    for (long k = 1; k <= LabelCount && k <= LabelPositions.upper(); ++k) {
        const long p = LabelPositions(k);
        if ((at - p) * (at - p) < n * n / 40000) {
            Image2->setToolTipText(curves::markerToolTip(MarkerLabel(p), MarkerNote(p)));
            return;
        }
        Image2->setToolTipText(QString());
    }
}

// A release applies what the drag chose, once: the section is rendered, or the band copied to
// curve window 1 (whole rows) and the grey profile computed. Every flag is cleared, also after a
// release without a press here.
void PreviewForm::Image2_MouseUp(int, int, double x, double y) {
    if (DragLeftEdge || DragRightEdge || DragSection) {
        RenderSection();
    } else if (bandDragging()) {
        dragTo(x, y);
        CurveForm& c1 = curveWindow(1);
        const double rows = c1.Picture1->ScaleHeight();
        for (int k = 0; k <= 1; ++k) {
            const double row = core::roundHalfEven(Line1(k)->Y1() * rows / Image2->Height());
            c1.Line1(k)->setEnds(c1.Line1(k)->X1(), row, c1.Line1(k)->X2(), row);
        }
        BandRows = static_cast<Integer>(core::roundHalfEven(c1.Line1(1)->Y1() - c1.Line1(0)->Y1()));
        ComputeGreyProfile();
        UpdateBandLabel();
    }
    ClearDragFlags();
}

void PreviewForm::Image2_Click() {
    if (!PreviewRedrawn) RenderPreview();
}

void PreviewForm::Image2_DblClick() {
    frmRawImage->setLeft(Left());
}
void PreviewForm::Form_DblClick() {
    frmRawImage->setLeft(Left());
}

void PreviewForm::Picture2_KeyDown(int keyCode, int) {
    if (keyCode == ui::kKeyControl) CtrlDown = true;
    if (CtrlDown) {
        if (keyCode == ui::kKeyZ) UndoMarker();
        if (keyCode == ui::kKeyA) ToggleActivation();
    }
    SetMarkerFromKey(keyCode);  // Tab places no level-9 boundary at the last click
}

void PreviewForm::Picture2_KeyUp(int keyCode, int) {
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
