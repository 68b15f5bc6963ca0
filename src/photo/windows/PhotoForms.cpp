#include "photo/windows/PhotoForms.h"
#include "ui/ControlArray.h"

namespace app {

using ui::make;

PhotoForm::PhotoForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Core photo"));
    Move(120, 405, 6335, 4755);
    QWidget* c = client();
    Picture1 = make<ui::PictureBox>(c);
    Picture1->autoSize = true;
    Picture1->hide();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(0, 0, 6215, 4335);
    Image2 = make<ui::ImageBox>(c);
    Image2->place(0, 0, 6215, 4335);
    Image2->hide();
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 0, 0));
    Shape1->place(0, 1300, 3000, 1734);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuCrop = mnuRB->add(QStringLiteral("Crop"));
    mnuRB->addSeparator();
    mnuAlignRadio = mnuRB->add(QStringLiteral("Align radiograph"));
}

CropForm::CropForm() : ui::Form(ui::Unit::Pixels) {
    setCaption(QStringLiteral("Core photo (close up)"));
    Move(9840, 6480, 9000, 2400);
    QWidget* c = client();
    Picture1 = make<ui::PictureBox>(c);
    Picture1->hide();
    Picture2 = make<ui::PictureBox>(c);
    Picture2->hide();
    Image2 = make<ui::ImageBox>(c);
    Image2->stretch = false;
    Image2->hide();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(0, 0, 592, 136);
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 255, 255));
    Shape1->hide();
    Line1 = make<ui::LineShape>(c);
    Line1->setBorderColour(core::kPointerColour);
    Command1 = make<ui::Button>(c, QStringLiteral("Photo"));
    Command1->place(540, 2, 50, 20);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuColour = mnuRB->add(QStringLiteral("Colour profile"));
    mnuLAB = mnuColour->add(QStringLiteral("L*a*b*"));
    mnuRGB = mnuColour->add(QStringLiteral("RGB"));
    mnuGrey = mnuColour->add(QStringLiteral("Grey scale"));
    mnuLAB->setChecked(true);
    mnuRGB->setChecked(false);
    mnuGrey->setChecked(false);
    mnuRB->addSeparator();
    mnuPointerLink = mnuRB->add(QStringLiteral("Pointer link"));
    mnuLinkPosition = mnuPointerLink->add(QStringLiteral("Position"));
    mnuLinkScale = mnuPointerLink->add(QStringLiteral("Scale"));
    mnuLinkPosition->setChecked(true);
    mnuLinkScale->setChecked(false);
    mnuRB->addSeparator();
    mnuAlignScale = mnuRB->add(QStringLiteral("Align scale"));
}

// Not built yet: will fit the photo window's frame to the section (with the photo import).
void FitPhotoFrame() {}
// Not built yet: will render the close-up of the photo with its brightness and contrast.
void RenderCropImage() {}

}  // namespace app
