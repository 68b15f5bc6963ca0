#include "scales/windows/ScaleForms.h"
#include "ui/ControlArray.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "curves/windows/CurveForm.h"
#include "pointer/windows/Pointer.h"

namespace app {

using ui::make;

ScaleForm::ScaleForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("10 mm"));
    setWindowFlag(Qt::Tool);
    Move(9840, 6480, 9000, 720);
    Picture1 = make<ui::PictureBox>(client());
    Picture1->place(0, 0, 8880, 360);
    connect(Picture1, &ui::PictureBox::MouseMove, this, [] { ClearCurvePointers(); });
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuAlignScale = mnuRB->add(QStringLiteral("Align scale"));
    mnu = ui::ControlArray<ui::MenuItem>(1, 7, [this](long i) {
        if (i == 7) mnuAlignScale->addSeparator();
        return mnuAlignScale->add(i == 7 ? QStringLiteral("Core photo (close up)")
                                         : QStringLiteral("Curve-%1").arg(i));
    });
}

void ScaleForm::Form_Load() {
    DrawScale();
}

MetreScaleForm::MetreScaleForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("cm"));
    setWindowFlag(Qt::Tool);
    Move(120, 0, 12000, 720);
    Picture1 = make<ui::PictureBox>(client());
    Picture1->place(0, 0, 11880, 360);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuAlign = mnuRB->add(QStringLiteral("Align scale"));
}

void MetreScaleForm::Form_Load() {
    Draw1mScale();
}

void MetreScaleForm::Form_MouseMove(int, int, double, double) {
    ClearCurvePointers();
}

ElasticForm::ElasticForm() : ui::Form(ui::Unit::Pixels) {
    setCaption(QStringLiteral("Elastic scale"));
    setWindowFlag(Qt::Tool);
    Move(9840, 900, 9000, 900);
    Picture1 = make<ui::PictureBox>(client());
    Picture1->place(0, 0, 592, 36);
    Picture1->setAttribute(Qt::WA_TransparentForMouseEvents);  // the form itself takes the mouse
    Line1 = make<ui::LineShape>(client());
    Line1->setBorderColour(core::rgb(255, 0, 0));
}

void ElasticForm::Form_Load() {
    ElasticGrabMark = 3;
    ElasticInterval = 9999;
    ElasticDragging = false;
    ElasticShown = false;
    setWidth(frmCurve1->Width());
    ElasticLastTop = 9999;
    ElasticLastLeft = 9999;
}

void ElasticForm::Form_Resize() {
    Picture1->place(0, 0, ScaleWidth(), ScaleHeight());
    const double centre = ScaleWidth() / 2;
    Line1->setEnds(centre, 0, centre, ScaleHeight());
}

// Not built yet: will draw the depth scale under curve window 1 for the section shown.
void DrawScale() {}
// Not built yet: will draw the one-metre scale window's ruler.
void Draw1mScale() {}

}  // namespace app
