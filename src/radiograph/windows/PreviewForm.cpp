#include "radiograph/windows/PreviewForm.h"

#include "app/windows/Forms.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"

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

    // Moving over the preview takes the pointer lines off the curve windows.
    connect(Image2, &ui::ImageBox::MouseMove, this, [] { ClearCurvePointers(); });
    mnurb = addPopupMenu(QString());
    mnuLamina = mnurb->add(QStringLiteral("Hide marker labels"));
    mnurb->addSeparator();
    mnuAlignScale = mnurb->add(QStringLiteral("Align scale"));
    mnuAlignPicture = mnurb->add(QStringLiteral("Align picture"));
    mnuAlignScale->setEnabled(false);    // enabled by the XRF import
    mnuAlignPicture->setEnabled(false);  // enabled by the photo import
    mnuLamina->setNotBuiltYet();         // the marker labels come with the lamina labels
}

void PreviewForm::Form_Load() {
    DragSection = false;
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

// Not built yet: will draw the labelled laminae as lines over the preview.
void DrawMarkerLabels() {}

}  // namespace app
