#include "radiograph/windows/RawImageForm.h"

#include <algorithm>

#include "ui/ControlArray.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/Arithmetic.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"

namespace app {

using ui::make;

RawImageForm::RawImageForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Original image"));
    Move(120, 405, 12000, PreviewForm::kHeight);
    QWidget* c = client();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(0, 0, 11865, 1035);
    Image1->setMousePointer(ui::MousePointer::Cross);
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 0, 0));
    Shape1->setBorderWidth(2);
    Shape1->place(8865, 0, 3000, 1035);
    connect(Image1, &ui::ImageBox::MouseDown, this, &RawImageForm::Image1_MouseDown);
    connect(Image1, &ui::ImageBox::MouseMove, this, &RawImageForm::Image1_MouseMove);
    connect(Image1, &ui::ImageBox::MouseUp, this, &RawImageForm::Image1_MouseUp);
    connect(Image1, &ui::ImageBox::DblClick, this, &RawImageForm::Image1_DblClick);
}

void RawImageForm::Image1_MouseDown(int, int, double x, double) {
    const double left = Shape1->Left(), width = Shape1->Width(), offset = Image1->Left();
    if (nearSectionEdge(offset + x - left)) {
        leftEdge_ = true;
        anchor_ = core::clng(width + left);
    } else if (nearSectionEdge(offset + x - left - width)) {
        rightEdge_ = true;
    } else if (left + offset < x && x < left + offset + width) {
        moving_ = true;
        grabOffset_ = core::clng(x - left);
    }
}

// The preview's rectangle follows at once; the curves wait for the release.
void RawImageForm::sectionDragged() {
    PreviewForm& preview = frmPreview.get();
    preview.Shape1->place(Shape1->Left(), preview.Shape1->Top(), Shape1->Width(), preview.Shape1->Height());
}

void RawImageForm::Image1_MouseMove(int button, int shift, double x, double y) {
    // A drag whose release never arrived (the window lost the mouse on the way) ends here.
    if ((moving_ || leftEdge_ || rightEdge_) && button == 0) {
        Image1_MouseUp(button, shift, x, y);
        return;
    }
    // The colour of the radiograph's pixel under the pointer, on the main window's swatch.
    MainForm& m = frmMain.get();
    if (Image1->Width() > 0 && Image1->Height() > 0) {
        const double sx = core::roundHalfEven(m.Picture1->ScaleWidth() * x / Image1->Width());
        const double sy = core::roundHalfEven(m.Picture1->ScaleHeight() * y / Image1->Height());
        const core::Colour c = m.Picture1->Point(sx, sy);
        m.Shape0->setFillColour(core::rgb(std::max(c % 256, 0), std::max((c / 256) % 256, 0), std::max(c / 65536, 0)));
    }
    const double left = Shape1->Left(), width = Shape1->Width(), offset = Image1->Left();
    if (nearSectionEdge(offset + x - left) || nearSectionEdge(offset + x - left - width)) {
        Image1->setMousePointer(ui::MousePointer::SizeWE);
    } else if (left + offset < x && x < left + offset + width) {
        Image1->setMousePointer(ui::MousePointer::Default);
    } else {
        Image1->setMousePointer(ui::MousePointer::Cross);
    }
    const double imageRight = Image1->Left() + Image1->Width();
    if (moving_) {
        Shape1->setLeft(std::clamp(x - grabOffset_, 0.0, std::max(0.0, imageRight - Shape1->Width())));
        sectionDragged();
    } else if (rightEdge_) {
        if (x > Shape1->Left() + kMinimumSectionWidth) Shape1->setWidth(std::min(x, imageRight) - Shape1->Left());
        sectionDragged();
    } else if (leftEdge_) {
        if (x < Shape1->Left() + Shape1->Width() - kMinimumSectionWidth) {
            const double l = std::max(x, 0.0);
            Shape1->place(l, Shape1->Top(), anchor_ - l, Shape1->Height());
        }
        sectionDragged();
    }
}

void RawImageForm::Image1_MouseUp(int, int, double, double) {
    if (moving_ || leftEdge_ || rightEdge_) {
        sectionDragged();
        RenderSection();
    }
    moving_ = leftEdge_ = rightEdge_ = false;
}

void RawImageForm::Form_MouseMove(int, int, double x, double y) {
    frmMain->Label2(0)->setCaption(core::doubleText(core::roundHalfEven(x * 100) / 100));
    frmMain->Label2(1)->setCaption(core::doubleText(core::roundHalfEven(y * 100) / 100));
}

void RawImageForm::Image1_DblClick() {
    frmPreview->setLeft(Left());
}
void RawImageForm::Form_DblClick() {
    frmPreview->setLeft(Left());
}

void RawImageForm::Form_Resize() {
    Image1->setWidth(Width() - Image1->Left() - 135);
    if (Height() != PreviewForm::kHeight) setHeight(PreviewForm::kHeight);
    PreviewForm& preview = frmPreview.get();
    if (Image1->Width() < Shape1->Width()) {
        Shape1->setWidth(Image1->Width());
        preview.Shape1->setWidth(Image1->Width());
    }
    // The preview takes this window's size, and its picture this window's image size.
    preview.Picture2->Cls();
    PreviewRedrawn = false;
    preview.Picture2->place(preview.Picture2->Left(), preview.Picture2->Top(), Image1->Width(),
                            Image1->Height());
    preview.Image2->place(preview.Image2->Left(), preview.Image2->Top(), Image1->Width(), Image1->Height());
    preview.Move(preview.Left(), preview.Top(), Width(), Height());
    if (RadiographImported && !PreviewRedrawn) {
        preview.Picture2->surface().currentX = 0;
        preview.Picture2->surface().currentY = 0;
        preview.Picture2->Print(QStringLiteral(" Click to redraw"));
        preview.Image2->setPicture(preview.Picture2->Image());
    }
    if (Shape1->Left() + Shape1->Width() > Image1->Left() + Image1->Width()) {
        Shape1->setLeft(Image1->Left() + Image1->Width() - Shape1->Width());
    }
    if (Shape1->Left() < 0) Shape1->setLeft(0);
    preview.Shape1->setLeft(Shape1->Left());
    if (PreviewRendered) {
        RenderSection();
        Draw1mScale();
    }
}

}  // namespace app
