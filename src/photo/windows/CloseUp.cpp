#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "curves/windows/CurveForm.h"
#include "photo/CloseUp.h"
#include "photo/windows/PhotoForms.h"
#include "scales/windows/ScaleForms.h"
#include "ui/KeyCodes.h"
#include "ui/Screen.h"

namespace app {

using ui::make;

namespace {
constexpr double kBorderTwips = 120, kCaptionTwips = 360;  // the window's border and caption
constexpr double kBandNearness = 3;                         // pixels: a press this near grabs an edge
constexpr double kMinimumBandHeight = 3;                    // pixels
constexpr core::Colour kProfileColour = core::rgb(0, 255, 0);

// The profile last computed and what it was computed from: a render that changes only brightness
// or contrast (or nothing) measures the same pixels again, so it takes the profile as it is.
struct ProfileInputs {
    qint64 photo = 0;
    photo::CropRect crop;
    photo::BandRows band;
    bool operator==(const ProfileInputs& o) const {
        return photo == o.photo && crop.left == o.crop.left && crop.top == o.crop.top &&
               crop.right == o.crop.right && crop.bottom == o.crop.bottom && band.top == o.band.top &&
               band.bottom == o.band.bottom;
    }
};
ProfileInputs lastProfileInputs;
bool haveLastProfile = false;

photo::CropRect currentCrop() {
    return {CropLeft, CropTop, CropRight, CropBottom};
}

photo::ColourModel checkedModel(const CropForm& c) {
    if (c.mnuRGB->Checked()) return photo::ColourModel::Rgb;
    if (c.mnuGrey->Checked()) return photo::ColourModel::Grey;
    return photo::ColourModel::Lab;
}
}  // namespace

void enablePhotoSliders(bool enabled) {
    MainForm& main = frmMain.get();
    for (ui::Slider* s : main.photoSliders) s->setEnabled(enabled);
    main.sliderCaptions(2)->setEnabled(enabled);
    main.sliderCaptions(3)->setEnabled(enabled);
}

CropForm::CropForm() : ui::Form(ui::Unit::Pixels) {
    setCaption(kCloseUpCaption);
    Move(9840, 6480, 9000, 2400);
    QWidget* c = client();
    stripBuffer = make<ui::PictureBox>(c);
    stripBuffer->hide();
    compositionBuffer = make<ui::PictureBox>(c);
    compositionBuffer->hide();
    wholePhotoView = make<ui::ImageBox>(c);
    wholePhotoView->hide();
    closeUpView = make<ui::ImageBox>(c);
    closeUpView->place(0, 0, 592, 136);
    measuringBand = make<ui::Shape>(c);
    measuringBand->setBorderColour(core::rgb(255, 255, 255));
    measuringBand->hide();
    pointerLine = make<ui::LineShape>(c);
    pointerLine->setBorderColour(core::kPointerColour);
    wholePhotoButton = make<ui::Button>(c, QStringLiteral("Photo"));
    wholePhotoButton->setToolTipText(QStringLiteral("The whole photo or the close-up"));
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuColour = mnuRB->add(QStringLiteral("Colour profile"));
    mnuLAB = mnuColour->add(QStringLiteral("L*a*b*"));
    mnuRGB = mnuColour->add(QStringLiteral("RGB"));
    mnuGrey = mnuColour->add(QStringLiteral("Grey scale"));
    mnuRB->addSeparator();
    mnuPointerLink = mnuRB->add(QStringLiteral("Pointer link"));
    mnuLinkPosition = mnuPointerLink->add(QStringLiteral("Position"));
    mnuLinkScale = mnuPointerLink->add(QStringLiteral("Scale"));
    mnuLinkPosition->setChecked(true);
    mnuLinkScale->setChecked(false);
    mnuRB->addSeparator();
    mnuAlignScale = mnuRB->add(QStringLiteral("Align scale"));

    connect(wholePhotoButton, &ui::Button::Click, this, &CropForm::wholePhotoButton_Click);
    connect(closeUpView, &ui::ImageBox::MouseDown, this, &CropForm::closeUpView_MouseDown);
    connect(closeUpView, &ui::ImageBox::MouseMove, this, &CropForm::closeUpView_MouseMove);
    connect(closeUpView, &ui::ImageBox::MouseUp, this, &CropForm::closeUpView_MouseUp);
    connect(closeUpView, &ui::ImageBox::DblClick, this, &CropForm::closeUpView_DblClick);
    connect(mnuLAB, &ui::MenuItem::Click, this, &CropForm::mnuLAB_Click);
    connect(mnuRGB, &ui::MenuItem::Click, this, &CropForm::mnuRGB_Click);
    connect(mnuGrey, &ui::MenuItem::Click, this, &CropForm::mnuGrey_Click);
    connect(mnuLinkPosition, &ui::MenuItem::Click, this, &CropForm::mnuLinkPosition_Click);
    connect(mnuLinkScale, &ui::MenuItem::Click, this, &CropForm::mnuLinkScale_Click);
    connect(mnuAlignScale, &ui::MenuItem::Click, this, &CropForm::mnuAlignScale_Click);
}

void CropForm::sizeCloseUp() {
    closeUpView->place(closeUpView->Left(), closeUpView->Top(), (Width() - kBorderTwips) / TwipsPerPixel,
                       (Height() - kCaptionTwips) / TwipsPerPixel);
    wholePhotoButton->place(closeUpView->Width() - 52, 2, 50, 20);
}

void CropForm::takeBandFractions() {
    const double w = closeUpView->Width(), h = closeUpView->Height();
    if (w <= 0 || h <= 0) return;
    BandTopFraction = static_cast<Single>((measuringBand->Top() - closeUpView->Top()) / h);
    BandLeftFraction = static_cast<Single>((measuringBand->Left() - closeUpView->Left()) / w);
    BandWidthFraction = static_cast<Single>(measuringBand->Width() / w);
    BandHeightFraction = static_cast<Single>(measuringBand->Height() / h);
}

void CropForm::leaveRoomForScale() {
    const double room = ui::screen::heightTwips() - 2 * frmScale->Height();
    if (Top() + Height() > room) setHeight(room - Top());
}

void CropForm::Form_Load() {
    sizeCloseUp();
    const double top = closeUpView->Top(), height = closeUpView->Height(), width = closeUpView->Width();
    pointerLine->setEnds(closeUpView->Left() + width / 2, top, closeUpView->Left() + width / 2, top + height);
    pointerLine->setVisible(PointerActive);
    measuringBand->hide();
    measuringBand->place(closeUpView->Left(), top + height / 2 - height / 20, width, height / 10);
    takeBandFractions();
    mnuRGB->setChecked(false);
    mnuGrey->setChecked(false);
    mnuLAB->setChecked(true);
    enablePhotoSliders(true);
    leaveRoomForScale();
    if (frmPhoto.exists()) wholePhotoView->setPicture(frmPhoto->photo());
    measuringBand->show();
    ComputeColourProfile();
    DrawColourProfile();
}

void CropForm::Form_Resize() {
    sizeCloseUp();
    const double w = closeUpView->Width(), h = closeUpView->Height();
    measuringBand->place(w * BandLeftFraction + closeUpView->Left(), h * BandTopFraction + closeUpView->Top(),
                         w * BandWidthFraction, h * BandHeightFraction);
    pointerLine->setEnds(pointerLine->X1(), closeUpView->Top(), pointerLine->X2(), closeUpView->Top() + h);
    ProfileDirty = true;
}

void CropForm::Form_Unload(bool& cancel) {
    (void)cancel;
    CropOpen = false;
    enablePhotoSliders(false);
}

// The whole photo, magnified by a whole factor so that the framed strip fills the close-up's
// width, shifted so that the strip comes to the top-left corner; or the close-up again.
void CropForm::wholePhotoButton_Click() {
    const bool showWhole = wholePhotoView->isHidden();
    wholePhotoView->setVisible(showWhole);
    closeUpView->setVisible(!showWhole);
    if (!frmPhoto.exists()) return;
    PhotoForm& p = frmPhoto.get();
    const double frameWidth = p.frame->Width();
    if (frameWidth <= 0) return;
    const int z = std::max(1, static_cast<int>(core::clng((Width() - kBorderTwips) / frameWidth)));
    wholePhotoView->place(
        -z * p.frame->Left() / TwipsPerPixel, z * (p.photoView->Top() - p.frame->Top()) / TwipsPerPixel,
        z * p.photoView->Width() / TwipsPerPixel, z * p.photoView->Height() / TwipsPerPixel);
    wholePhotoView->lower();
}

void CropForm::closeUpView_DblClick() {
    frmScale->Show();
}

void CropForm::chooseColourModel(ui::MenuItem* item) {
    if (!item->Checked()) {
        for (ui::MenuItem* m : {mnuLAB, mnuRGB, mnuGrey}) m->setChecked(m == item);
    }
    if (ProfileDirty) ComputeColourProfile();
    DrawColourProfile();
    measuringBand->show();
    if (mnuLinkPosition->Checked()) frmScale->Show();
}

// ---------------------------------------------------------------------------------------------
// The band and the curve scale with the mouse. Positions come in the close-up's pixels; the
// scale drag measures the travel in twips, as the curve scale always has.

void CropForm::closeUpView_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    (void)x;
    if (button == ui::kRightButton) {
        PopupMenu(mnuRB);
        return;
    }
    if (button != ui::kLeftButton) return;
    const double row = y - closeUpView->Top();
    const double top = measuringBand->Top(), height = measuringBand->Height();
    auto near = [row](double edge) { return (row - edge) * (row - edge) < kBandNearness * kBandNearness; };
    if (near(top)) {
        BandDragMode = 1;
    } else if (near(top + height)) {
        BandDragMode = 2;
    } else if (top < row && row < top + height) {
        BandDragMode = 3;
    } else {
        BandDragMode = 0;
        ScaleAtGrab = ProfileScale;
        ProfileScaleGrabY = static_cast<Single>(y * TwipsPerPixel);
        ScaleDragging = true;
    }
    if (BandDragMode != 0) {
        BandGrabTop = static_cast<Single>(top);
        BandGrabHeight = static_cast<Single>(height);
        BandGrabY = static_cast<Single>(y * TwipsPerPixel);
    }
}

void CropForm::closeUpView_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    pointerLine->setEnds(x, pointerLine->Y1(), x, pointerLine->Y2());
    ShowCurvePointersFromCloseUp(x);
    const double yTwips = y * TwipsPerPixel;
    switch (BandDragMode) {
        case 0: {
            const double row = y - closeUpView->Top();
            const double top = measuringBand->Top(), height = measuringBand->Height();
            auto near = [row](double edge) { return (row - edge) * (row - edge) < kBandNearness * kBandNearness; };
            if (near(top) || near(top + height)) {
                setMousePointer(ui::MousePointer::SizeNS);
            } else if (top < row && row < top + height) {
                setMousePointer(ui::MousePointer::SizeAll);
            } else {
                setMousePointer(ui::MousePointer::Cross);
            }
            if (ScaleDragging) {
                ProfileScale =
                    photo::draggedProfileScale(ScaleAtGrab, ProfileScaleGrabY, yTwips, closeUpView->Height());
                DrawColourProfile();
            }
            break;
        }
        case 1: {
            const double h = BandGrabHeight - (y - BandGrabTop);
            if (h > kMinimumBandHeight) {
                measuringBand->place(measuringBand->Left(), y, measuringBand->Width(), h);
            } else {
                measuringBand->place(measuringBand->Left(), BandGrabTop + BandGrabHeight - kMinimumBandHeight,
                                     measuringBand->Width(), kMinimumBandHeight);
            }
            break;
        }
        case 2: {
            const double h = (yTwips - BandGrabY) / TwipsPerPixel + BandGrabHeight;
            measuringBand->setHeight(h > kMinimumBandHeight ? h : kMinimumBandHeight);
            break;
        }
        case 3:
            measuringBand->setTop((yTwips - BandGrabY) / TwipsPerPixel + BandGrabTop);
            break;
        default:
            break;
    }
}

void CropForm::closeUpView_MouseUp(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
    if (BandDragMode != 0) {
        takeBandFractions();
        ComputeColourProfile();
        DrawColourProfile();
    }
    BandDragMode = 0;
    ScaleDragging = false;
}

// ---------------------------------------------------------------------------------------------
// Rendering

void RenderCropImage() {
    if (!frmPhoto.exists() || !PhotoOpen) return;  // nothing to render without a photo
    PhotoForm& p = frmPhoto.get();
    MainForm& main = frmMain.get();
    CropForm& c = frmCrop.get();
    if (!CropOpen && p.frame->Width() > 0) {
        const double width = curveWindow(1).Width();
        c.setWidth(width);
        c.setHeight(width * p.frame->Height() / p.frame->Width());
    }
    PhotoBrightness = radiograph::brightnessFromSlider(main.photoSliders(0)->Value());
    PhotoContrast = radiograph::contrastFromSlider(main.photoSliders(1)->Value());
    const photo::CropRect crop = p.cropRect();
    CropLeft = crop.left;
    CropRight = crop.right;
    CropTop = crop.top;
    CropBottom = crop.bottom;
    c.sizeCloseUp();
    const photo::StripRegion region = photo::stripRegion(crop);
    const radiograph::Adjustment adjustment{PhotoBrightness, PhotoContrast, true, radiograph::Precision::Single};
    const QImage strip = photo::renderStrip(p.photo(), region, adjustment);
    if (strip.isNull()) {
        // Less than a pixel of the photo, or a frame far larger than any photo: the close-up
        // keeps what it showed.
        ProfileDirty = true;
        return;
    }
    c.stripBuffer->place(0, 0, region.columns, region.rows);
    c.stripBuffer->setPicture(strip);
    ComputeColourProfile();
    c.closeUpView->setPicture(c.stripBuffer->Picture());
    DrawColourProfile();
}

// The close-up shows the strip with brightness and contrast applied (so the sliders show), the
// profile measures the photo as loaded.
void ComputeColourProfile() {
    CropForm& c = frmCrop.get();
    if (CropRight == CropLeft) {
        ProfileDirty = false;
        return;
    }
    const photo::CropRect crop = currentCrop();
    const photo::StripRegion region = photo::stripRegion(crop);
    c.compositionBuffer->place(c.closeUpView->Left(), c.closeUpView->Top(), c.closeUpView->Width(),
                               c.closeUpView->Height());
    const QImage& strip = c.stripBuffer->Background();
    if (!strip.isNull() && c.closeUpView->width() > 0 && c.closeUpView->height() > 0)
        c.compositionBuffer->surface().setPicture(strip.scaled(
            c.closeUpView->width(), c.closeUpView->height(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    const photo::BandRows band = photo::bandRows(c.measuringBand->Top() - c.closeUpView->Top(),
                                                 c.measuringBand->Height(), c.closeUpView->Height(), crop);
    const QImage& photo = frmPhoto.exists() ? frmPhoto->photo() : QImage();
    const ProfileInputs inputs{photo.cacheKey(), crop, band};
    if (!(haveLastProfile && inputs == lastProfileInputs)) {
        ColourProfile = photo::computeColourProfile(photo, crop, region, band);
        lastProfileInputs = inputs;
        haveLastProfile = true;
    }
    ProfileDirty = false;
}

void DrawColourProfile() {
    CropForm& c = frmCrop.get();
    ui::PictureBox& pic = *c.compositionBuffer;
    const Long savedTop = core::clng(pic.ScaleTop()), savedLeft = core::clng(pic.ScaleLeft());
    const Long savedWidth = core::clng(pic.ScaleWidth()), savedHeight = core::clng(pic.ScaleHeight());
    const long n = core::clng(CropRight - CropLeft);
    if (n <= 0 || !ColourProfile.isAllocated() || ColourProfile.upper1() < n) {
        // Nothing to draw over (a strip of no width): the next choice computes again.
        ProfileDirty = true;
        return;
    }
    pic.setScale(0, 0, static_cast<double>(n), photo::kProfileScaleHeight);
    pic.Cls();
    for (const photo::ProfileCurve& curve : photo::profileCurves(checkedModel(c), ProfileScale)) {
        auto yOf = [&curve](long i) {
            return static_cast<double>(curve.base - curve.factor * ColourProfile(i, curve.channel));
        };
        double previous = yOf(0);
        for (long i = 1; i <= n; ++i) {
            const double y = yOf(i);
            pic.Line(static_cast<double>(i - 1), previous, static_cast<double>(i), y, kProfileColour);
            previous = y;
        }
    }
    c.closeUpView->setPicture(pic.Image());
    pic.Cls();
    pic.setScale(savedLeft, savedTop, savedWidth, savedHeight);
}

}  // namespace app
