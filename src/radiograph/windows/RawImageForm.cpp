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
    rawImage = make<ui::ImageBox>(c);
    rawImage->place(0, 0, 11865, 1035);
    rawImage->setMousePointer(ui::MousePointer::Cross);
    sectionFrame = make<ui::Shape>(c);
    sectionFrame->setBorderColour(core::rgb(255, 0, 0));
    sectionFrame->setBorderWidth(2);
    sectionFrame->place(8865, 0, 3000, 1035);
    connect(rawImage, &ui::ImageBox::MouseDown, this, &RawImageForm::rawImage_MouseDown);
    connect(rawImage, &ui::ImageBox::MouseMove, this, &RawImageForm::rawImage_MouseMove);
    connect(rawImage, &ui::ImageBox::MouseUp, this, &RawImageForm::rawImage_MouseUp);
    connect(rawImage, &ui::ImageBox::DblClick, this, &RawImageForm::rawImage_DblClick);
}

void RawImageForm::rawImage_MouseDown(int, int, double x, double) {
    const double left = sectionFrame->Left(), width = sectionFrame->Width();
    const radiograph::SectionGrip grip = radiograph::sectionGripAt(rawImage->Left() + x - left, width);
    if (grip == radiograph::SectionGrip::LeftEdge) {
        leftEdge_ = true;
        anchor_ = core::clng(width + left);
    } else if (grip == radiograph::SectionGrip::RightEdge) {
        rightEdge_ = true;
    } else if (grip == radiograph::SectionGrip::Whole) {
        moving_ = true;
        grabOffset_ = core::clng(x - left);
    }
}

// The preview's rectangle follows at once; the curves wait for the release.
void RawImageForm::sectionDragged() {
    PreviewForm& preview = frmPreview.get();
    preview.sectionFrame->place(sectionFrame->Left(), preview.sectionFrame->Top(), sectionFrame->Width(),
                                preview.sectionFrame->Height());
}

void RawImageForm::rawImage_MouseMove(int button, int shift, double x, double y) {
    // A drag whose release never arrived (the window lost the mouse on the way) ends here.
    if ((moving_ || leftEdge_ || rightEdge_) && button == 0) {
        rawImage_MouseUp(button, shift, x, y);
        return;
    }
    // The colour of the radiograph's pixel under the pointer, on the main window's swatch.
    MainForm& m = frmMain.get();
    if (rawImage->Width() > 0 && rawImage->Height() > 0) {
        const double sx = core::roundHalfEven(m.radiographPicture->ScaleWidth() * x / rawImage->Width());
        const double sy = core::roundHalfEven(m.radiographPicture->ScaleHeight() * y / rawImage->Height());
        const core::Colour c = m.radiographPicture->Point(sx, sy);
        m.pixelColourSwatch->setFillColour(
            core::rgb(std::max(c % 256, 0), std::max((c / 256) % 256, 0), std::max(c / 65536, 0)));
    }
    const radiograph::SectionGrip grip =
        radiograph::sectionGripAt(rawImage->Left() + x - sectionFrame->Left(), sectionFrame->Width());
    if (grip == radiograph::SectionGrip::LeftEdge || grip == radiograph::SectionGrip::RightEdge) {
        rawImage->setMousePointer(ui::MousePointer::SizeWE);
    } else if (grip == radiograph::SectionGrip::Whole) {
        rawImage->setMousePointer(ui::MousePointer::Default);
    } else {
        rawImage->setMousePointer(ui::MousePointer::Cross);
    }
    const double imageRight = rawImage->Left() + rawImage->Width();
    if (moving_) {
        sectionFrame->setLeft(
            std::clamp(x - grabOffset_, 0.0, std::max(0.0, imageRight - sectionFrame->Width())));
        sectionDragged();
    } else if (rightEdge_) {
        if (x > sectionFrame->Left() + radiograph::kMinimumSectionWidth)
            sectionFrame->setWidth(std::min(x, imageRight) - sectionFrame->Left());
        sectionDragged();
    } else if (leftEdge_) {
        if (x < sectionFrame->Left() + sectionFrame->Width() - radiograph::kMinimumSectionWidth) {
            const double l = std::max(x, 0.0);
            sectionFrame->place(l, sectionFrame->Top(), anchor_ - l, sectionFrame->Height());
        }
        sectionDragged();
    }
}

void RawImageForm::rawImage_MouseUp(int, int, double, double) {
    if (moving_ || leftEdge_ || rightEdge_) {
        sectionDragged();
        RenderSection();
    }
    moving_ = leftEdge_ = rightEdge_ = false;
}

void RawImageForm::Form_MouseMove(int, int, double x, double y) {
    frmMain->pixelReadout(0)->setCaption(core::doubleText(core::roundHalfEven(x * 100) / 100));
    frmMain->pixelReadout(1)->setCaption(core::doubleText(core::roundHalfEven(y * 100) / 100));
}

void RawImageForm::rawImage_DblClick() {
    frmPreview->setLeft(Left());
}
void RawImageForm::Form_DblClick() {
    frmPreview->setLeft(Left());
}

void RawImageForm::Form_Resize() {
    rawImage->setWidth(Width() - rawImage->Left() - 135);
    if (Height() != PreviewForm::kHeight) setHeight(PreviewForm::kHeight);
    PreviewForm& preview = frmPreview.get();
    if (rawImage->Width() < sectionFrame->Width()) {
        sectionFrame->setWidth(rawImage->Width());
        preview.sectionFrame->setWidth(rawImage->Width());
    }
    // The preview takes this window's size, and its picture this window's image size.
    preview.renderSurface->Cls();
    PreviewRedrawn = false;
    preview.renderSurface->place(preview.renderSurface->Left(), preview.renderSurface->Top(),
                                 rawImage->Width(), rawImage->Height());
    preview.previewImage->place(preview.previewImage->Left(), preview.previewImage->Top(), rawImage->Width(),
                                rawImage->Height());
    preview.Move(preview.Left(), preview.Top(), Width(), Height());
    if (RadiographImported && !PreviewRedrawn) {
        preview.renderSurface->surface().currentX = 0;
        preview.renderSurface->surface().currentY = 0;
        preview.renderSurface->Print(QStringLiteral(" Click to redraw"));
        preview.previewImage->setPicture(preview.renderSurface->Image());
    }
    if (sectionFrame->Left() + sectionFrame->Width() > rawImage->Left() + rawImage->Width()) {
        sectionFrame->setLeft(rawImage->Left() + rawImage->Width() - sectionFrame->Width());
    }
    if (sectionFrame->Left() < 0) sectionFrame->setLeft(0);
    preview.sectionFrame->setLeft(sectionFrame->Left());
    if (PreviewRendered) {
        RenderSection();
        Draw1mScale();
    }
}

}  // namespace app
