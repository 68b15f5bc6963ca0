#include "radiograph/RawImageForm.h"
#include "ui/ControlArray.h"

#include "radiograph/PreviewForm.h"

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

}  // namespace app
