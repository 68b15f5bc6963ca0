#include "radiograph/windows/RawImageForm.h"
#include "ui/ControlArray.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
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
