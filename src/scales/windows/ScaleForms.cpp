#include "scales/windows/ScaleForms.h"

#include "app/SharedState.h"
#include "app/WindowLayout.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/windows/PreviewForm.h"
#include "scales/ScaleMarks.h"
#include "ui/ControlArray.h"
#include "ui/KeyCodes.h"

#include <algorithm>
#include <cmath>

namespace app {

using ui::make;

ScaleForm::ScaleForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("10 mm"));
    setWindowFlag(Qt::Tool);
    Move(9840, 6480, 9000, layout::kScaleHeight);
    scalePicture = make<ui::PictureBox>(client());
    scalePicture->place(0, 0, 8880, 360);
    connect(scalePicture, &ui::PictureBox::MouseMove, this, [] { ClearCurvePointers(); });
    connect(scalePicture, &ui::PictureBox::MouseDown, this, &ScaleForm::scalePicture_MouseDown);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuAlignScale = mnuRB->add(QStringLiteral("Align scale"));
    mnu = ui::ControlArray<ui::MenuItem>(1, 7, [this](long i) {
        if (i == 7) mnuAlignScale->addSeparator();
        return mnuAlignScale->add(i == 7 ? QStringLiteral("Core photo (close up)")
                                         : QStringLiteral("Curve-%1").arg(i));
    });
    for (int i = 1; i <= 7; ++i) connect(mnu(i), &ui::MenuItem::Click, this, [this, i] { mnu_Click(i); });
}

// As the pop-up opens: the entries name the windows the scale can go under.
void ScaleForm::mnuRB_Click() {
    for (int k = 1; k <= 6; ++k) {
        mnu(k)->setCaption(curveWindow(k).Caption());
        if (k >= 2) mnu(k)->setVisible(XrfLoaded);
    }
    mnu(7)->setCaption(frmCrop.exists() ? frmCrop->Caption() : kCloseUpCaption);
    mnu(7)->setEnabled(CropOpen);
}

// Under curve window k, or (7) under the close-up.
void ScaleForm::mnu_Click(int index) {
    if (index == 7) {
        if (CropOpen) DockScaleUnderCrop();
        return;
    }
    CurveForm& w = curveWindow(index);
    setTop(w.Top() + w.Height());
    setLeft(w.Left());
}

void ScaleForm::scalePicture_MouseDown(int button, int, double, double) {
    if (button != ui::kRightButton) return;
    mnuRB_Click();
    PopupMenu(mnuRB);
}

void ScaleForm::Form_Load() {
    DrawScale();
}

MetreScaleForm::MetreScaleForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("cm"));
    setWindowFlag(Qt::Tool);
    Move(120, 0, 12000, layout::kMetreScaleHeight);
    scalePicture = make<ui::PictureBox>(client());
    scalePicture->place(0, 0, 11880, 360);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuAlign = mnuRB->add(QStringLiteral("Align scale"));
    connect(mnuAlign, &ui::MenuItem::Click, this, &MetreScaleForm::mnuAlign_Click);
    connect(scalePicture, &ui::PictureBox::MouseDown, this, &MetreScaleForm::scalePicture_MouseDown);
}

// Above the preview when there is room, else below it.
void MetreScaleForm::mnuAlign_Click() {
    PreviewForm& preview = frmPreview.get();
    setLeft(preview.Left());
    setTop(preview.Top() - Height() > 0 ? preview.Top() - Height() : preview.Top() + preview.Height());
}

void MetreScaleForm::scalePicture_MouseDown(int button, int, double, double) {
    if (button == ui::kRightButton) PopupMenu(mnuRB);
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
    Move(9840, 900, 9000, layout::kElasticHeight);
    scalePicture = make<ui::PictureBox>(client());
    scalePicture->place(0, 0, 592, 36);
    scalePicture->setAttribute(Qt::WA_TransparentForMouseEvents);  // the form itself takes the mouse
    centreLine = make<ui::LineShape>(client());
    centreLine->setBorderColour(core::rgb(255, 0, 0));
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
    scalePicture->place(0, 0, ScaleWidth(), ScaleHeight());
    const double centre = ScaleWidth() / 2;
    centreLine->setEnds(centre, 0, centre, ScaleHeight());
}

// A press shows the scale and grabs a mark: the first time the third mark, afterwards the mark
// (fractional) that lies under the pointer, so the spacing scales around the centre line.
void ElasticForm::Form_MouseDown(int, int, double x, double) {
    ElasticDragging = true;
    ElasticShown = true;
    if (ElasticInterval == kUnset) {
        ElasticGrabMark = 3;
    } else {
        ElasticGrabMark = (x - centreLine->X1()) / ElasticInterval;
    }
    DrawElasticScale(x);
}

void ElasticForm::Form_MouseMove(int, int, double x, double) {
    const double fromCentre = x - centreLine->X1();
    if (ElasticDragging && fromCentre * fromCentre > 25) {
        for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
        DrawElasticScale(x);
    } else if (!ElasticDragging && ElasticShown) {
        for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
        DrawElasticOverlay();
    }
}

// Left release: the overlay stays; right release: scale and overlay go.
void ElasticForm::Form_MouseUp(int button, int, double, double) {
    ElasticDragging = false;
    ElasticLastTop = static_cast<Single>(Top());
    ElasticLastLeft = static_cast<Single>(Left());
    if (button == ui::kRightButton) {
        ElasticShown = false;
        scalePicture->Cls();
        for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
    } else {
        ElasticShown = true;
        DrawElasticOverlay();
    }
}

void ElasticForm::Form_Unload(bool& cancel) {
    (void)cancel;
    ElasticDragging = false;
    ElasticShown = false;
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
}

void DrawElasticScale(double x) {
    if (!ElasticShown) return;
    ElasticForm& e = frmElastic.get();
    const double centre = e.centreLine->X1();
    if (ElasticGrabMark == 0 || !std::isfinite(ElasticGrabMark)) return;  // grabbed on the centre line
    const double spacing = (x - centre) / ElasticGrabMark;
    if (!std::isfinite(spacing)) return;
    ElasticInterval = std::abs(spacing);  // a mark dragged across the centre line: the same spacing
    e.scalePicture->Cls();
    const scales::ElasticMarks marks = scales::elasticMarks(ElasticInterval, e.ScaleWidth() / 2);
    const core::Colour blue = core::rgb(100, 100, 255);
    for (const double d : marks.distances) {
        e.scalePicture->Line(centre + d, 0, centre + d, e.ScaleHeight(), blue);
        e.scalePicture->Line(centre - d, 0, centre - d, e.ScaleHeight(), blue);
    }
    if (marks.tooWide) return;
    const core::Millimetres interval =
        core::lengthOfColumns(ElasticInterval, core::val(frmMain->steppingBox->Text()));
    e.setCaption(QStringLiteral("Elastic scale (Interval = ") +
                 core::doubleText(core::roundHalfEven(interval.value * 100) / 100) + QStringLiteral(" mm)"));
    DrawElasticOverlay();
}

namespace {

// The three layers of a ruler of `length` units on a picture, 0 at the right-hand edge.
void drawRuler(ui::PictureBox* picture, double length, const scales::RulerCounts& counts) {
    picture->surface().clearPicture();
    picture->Cls();
    if (!(std::isfinite(length) && length > 0)) {
        picture->Refresh();  // no stepping: an empty ruler
        return;
    }
    picture->setScale(length, 1, -length, 3);
    const double unitsPerPixel = length / std::max(1, picture->surface().widthPixels());
    for (const scales::RulerItem& item :
         scales::rulerPattern(counts.large, counts.small, counts.divider, unitsPerPixel)) {
        if (item.box) {
            picture->Box(item.x1, item.y1, item.x2, item.y2, item.colour, true);
        } else {
            picture->Line(item.x1, item.y1, item.x2, item.y2, item.colour);
        }
    }
    picture->commit();
    picture->Refresh();
}

double stepping() {
    return core::val(frmMain->steppingBox->Text());
}

QString roundedOneDecimal(double v) {
    return std::isfinite(v) ? core::doubleText(core::roundHalfEven(v * 10) / 10) : QStringLiteral("0");
}

}  // namespace

void DrawScale() {
    if (ViewLeft == ViewRight) return;
    ScaleForm& scale = frmScale.get();
    const core::Millimetres length = core::lengthOfColumns(ViewRight - ViewLeft, stepping());
    scale.setWidth(curveWindow(1).Width());
    scale.scalePicture->place(0, 0, scale.Width() - 120, scale.Height() - 330);
    scale.setCaption(roundedOneDecimal(length.value) + QStringLiteral(" mm"));
    drawRuler(scale.scalePicture, length.value, scales::millimetreCounts(length));
}

void Draw1mScale() {
    MetreScaleForm& metre = frm1m.get();
    PreviewForm& preview = frmPreview.get();
    metre.setWidth(preview.Width());
    metre.setTop(preview.Top() - metre.Height());
    metre.setLeft(preview.Left());
    metre.scalePicture->place(0, 0, metre.Width() - 120, metre.Height() - 330);
    constexpr double kMillimetresPerCentimetre = 10;
    const double length = core::lengthOfColumns(frmMain->radiographPicture->ScaleWidth(), stepping()).value /
                          kMillimetresPerCentimetre;
    metre.setCaption(roundedOneDecimal(length) + QStringLiteral(" cm"));
    // Blocks of 10 cm to 140 cm and of 1 cm to 222 cm, whatever the core's length.
    drawRuler(metre.scalePicture, length, {7, 111, 7});
}

}  // namespace app
