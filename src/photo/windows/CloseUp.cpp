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
    for (ui::Slider* s : main.Slider2) s->setEnabled(enabled);
    main.Label4(2)->setEnabled(enabled);
    main.Label4(3)->setEnabled(enabled);
}

CropForm::CropForm() : ui::Form(ui::Unit::Pixels) {
    setCaption(kCloseUpCaption);
    Move(9840, 6480, 9000, 2400);
    QWidget* c = client();
    Picture1 = make<ui::PictureBox>(c);
    Picture1->hide();
    Picture2 = make<ui::PictureBox>(c);
    Picture2->hide();
    Image2 = make<ui::ImageBox>(c);
    Image2->hide();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(0, 0, 592, 136);
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 255, 255));
    Shape1->hide();
    Line1 = make<ui::LineShape>(c);
    Line1->setBorderColour(core::kPointerColour);
    Command1 = make<ui::Button>(c, QStringLiteral("Photo"));
    Command1->setToolTipText(QStringLiteral("The whole photo or the close-up"));
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

    connect(Command1, &ui::Button::Click, this, &CropForm::Command1_Click);
    connect(Image1, &ui::ImageBox::MouseDown, this, &CropForm::Image1_MouseDown);
    connect(Image1, &ui::ImageBox::MouseMove, this, &CropForm::Image1_MouseMove);
    connect(Image1, &ui::ImageBox::MouseUp, this, &CropForm::Image1_MouseUp);
    connect(Image1, &ui::ImageBox::DblClick, this, &CropForm::Image1_DblClick);
    connect(mnuLAB, &ui::MenuItem::Click, this, &CropForm::mnuLAB_Click);
    connect(mnuRGB, &ui::MenuItem::Click, this, &CropForm::mnuRGB_Click);
    connect(mnuGrey, &ui::MenuItem::Click, this, &CropForm::mnuGrey_Click);
    connect(mnuLinkPosition, &ui::MenuItem::Click, this, &CropForm::mnuLinkPosition_Click);
    connect(mnuLinkScale, &ui::MenuItem::Click, this, &CropForm::mnuLinkScale_Click);
    connect(mnuAlignScale, &ui::MenuItem::Click, this, &CropForm::mnuAlignScale_Click);
}

void CropForm::sizeCloseUp() {
    Image1->place(Image1->Left(), Image1->Top(), (Width() - kBorderTwips) / TwipsPerPixel,
                  (Height() - kCaptionTwips) / TwipsPerPixel);
    Command1->place(Image1->Width() - 52, 2, 50, 20);
}

void CropForm::takeBandFractions() {
    const double w = Image1->Width(), h = Image1->Height();
    if (w <= 0 || h <= 0) return;
    BandTopFraction = static_cast<Single>((Shape1->Top() - Image1->Top()) / h);
    BandLeftFraction = static_cast<Single>((Shape1->Left() - Image1->Left()) / w);
    BandWidthFraction = static_cast<Single>(Shape1->Width() / w);
    BandHeightFraction = static_cast<Single>(Shape1->Height() / h);
}

void CropForm::leaveRoomForScale() {
    const double room = ui::screen::heightTwips() - 2 * frmScale->Height();
    if (Top() + Height() > room) setHeight(room - Top());
}

void CropForm::Form_Load() {
    sizeCloseUp();
    const double top = Image1->Top(), height = Image1->Height(), width = Image1->Width();
    Line1->setEnds(Image1->Left() + width / 2, top, Image1->Left() + width / 2, top + height);
    Line1->setVisible(PointerActive);
    Shape1->hide();
    Shape1->place(Image1->Left(), top + height / 2 - height / 20, width, height / 10);
    takeBandFractions();
    mnuRGB->setChecked(false);
    mnuGrey->setChecked(false);
    mnuLAB->setChecked(true);
    enablePhotoSliders(true);
    leaveRoomForScale();
    if (frmPhoto.exists()) Image2->setPicture(frmPhoto->photo());
    Shape1->show();
    ComputeColourProfile();
    DrawColourProfile();
}

void CropForm::Form_Resize() {
    sizeCloseUp();
    const double w = Image1->Width(), h = Image1->Height();
    Shape1->place(w * BandLeftFraction + Image1->Left(), h * BandTopFraction + Image1->Top(), w * BandWidthFraction,
                  h * BandHeightFraction);
    Line1->setEnds(Line1->X1(), Image1->Top(), Line1->X2(), Image1->Top() + h);
    ProfileDirty = true;
}

void CropForm::Form_Unload(bool& cancel) {
    (void)cancel;
    CropOpen = false;
    enablePhotoSliders(false);
}

// The whole photo, magnified by a whole factor so that the framed strip fills the close-up's
// width, shifted so that the strip comes to the top-left corner; or the close-up again.
void CropForm::Command1_Click() {
    const bool showWhole = Image2->isHidden();
    Image2->setVisible(showWhole);
    Image1->setVisible(!showWhole);
    if (!frmPhoto.exists()) return;
    PhotoForm& p = frmPhoto.get();
    const double frameWidth = p.Shape1->Width();
    if (frameWidth <= 0) return;
    const int z = std::max(1, static_cast<int>(core::clng((Width() - kBorderTwips) / frameWidth)));
    Image2->place(-z * p.Shape1->Left() / TwipsPerPixel, z * (p.Image1->Top() - p.Shape1->Top()) / TwipsPerPixel,
                  z * p.Image1->Width() / TwipsPerPixel, z * p.Image1->Height() / TwipsPerPixel);
    Image2->lower();
}

void CropForm::Image1_DblClick() {
    frmScale->Show();
}

void CropForm::chooseColourModel(ui::MenuItem* item) {
    if (!item->Checked()) {
        for (ui::MenuItem* m : {mnuLAB, mnuRGB, mnuGrey}) m->setChecked(m == item);
    }
    if (ProfileDirty) ComputeColourProfile();
    DrawColourProfile();
    Shape1->show();
    if (mnuLinkPosition->Checked()) frmScale->Show();
}

// ---------------------------------------------------------------------------------------------
// The band and the curve scale with the mouse. Positions come in the close-up's pixels; the
// scale drag measures the travel in twips, as the curve scale always has.

void CropForm::Image1_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    (void)x;
    if (button == ui::kRightButton) {
        PopupMenu(mnuRB);
        return;
    }
    if (button != ui::kLeftButton) return;
    const double row = y - Image1->Top();
    const double top = Shape1->Top(), height = Shape1->Height();
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

void CropForm::Image1_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    Line1->setEnds(x, Line1->Y1(), x, Line1->Y2());
    ShowCurvePointersFromCloseUp(x);
    const double yTwips = y * TwipsPerPixel;
    switch (BandDragMode) {
        case 0: {
            const double row = y - Image1->Top();
            const double top = Shape1->Top(), height = Shape1->Height();
            auto near = [row](double edge) { return (row - edge) * (row - edge) < kBandNearness * kBandNearness; };
            if (near(top) || near(top + height)) {
                setMousePointer(ui::MousePointer::SizeNS);
            } else if (top < row && row < top + height) {
                setMousePointer(ui::MousePointer::SizeAll);
            } else {
                setMousePointer(ui::MousePointer::Cross);
            }
            if (ScaleDragging) {
                ProfileScale = photo::draggedProfileScale(ScaleAtGrab, ProfileScaleGrabY, yTwips, Image1->Height());
                DrawColourProfile();
            }
            break;
        }
        case 1: {
            const double h = BandGrabHeight - (y - BandGrabTop);
            if (h > kMinimumBandHeight) {
                Shape1->place(Shape1->Left(), y, Shape1->Width(), h);
            } else {
                Shape1->place(Shape1->Left(), BandGrabTop + BandGrabHeight - kMinimumBandHeight, Shape1->Width(),
                              kMinimumBandHeight);
            }
            break;
        }
        case 2: {
            const double h = (yTwips - BandGrabY) / TwipsPerPixel + BandGrabHeight;
            Shape1->setHeight(h > kMinimumBandHeight ? h : kMinimumBandHeight);
            break;
        }
        case 3:
            Shape1->setTop((yTwips - BandGrabY) / TwipsPerPixel + BandGrabTop);
            break;
        default:
            break;
    }
}

void CropForm::Image1_MouseUp(int button, int shift, double x, double y) {
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
    if (!CropOpen && p.Shape1->Width() > 0) {
        const double width = curveWindow(1).Width();
        c.setWidth(width);
        c.setHeight(width * p.Shape1->Height() / p.Shape1->Width());
    }
    PhotoBrightness = radiograph::brightnessFromSlider(main.Slider2(0)->Value());
    PhotoContrast = radiograph::contrastFromSlider(main.Slider2(1)->Value());
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
    c.Picture1->place(0, 0, region.columns, region.rows);
    c.Picture1->setPicture(strip);
    ComputeColourProfile();
    c.Image1->setPicture(c.Picture1->Picture());
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
    c.Picture2->place(c.Image1->Left(), c.Image1->Top(), c.Image1->Width(), c.Image1->Height());
    const QImage& strip = c.Picture1->Background();
    if (!strip.isNull() && c.Image1->width() > 0 && c.Image1->height() > 0)
        c.Picture2->surface().setPicture(
            strip.scaled(c.Image1->width(), c.Image1->height(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    const photo::BandRows band =
        photo::bandRows(c.Shape1->Top() - c.Image1->Top(), c.Shape1->Height(), c.Image1->Height(), crop);
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
    ui::PictureBox& pic = *c.Picture2;
    const Integer savedTop = core::cint(pic.ScaleTop()), savedLeft = core::cint(pic.ScaleLeft());
    const Integer savedWidth = core::cint(pic.ScaleWidth()), savedHeight = core::cint(pic.ScaleHeight());
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
    c.Image1->setPicture(pic.Image());
    pic.Cls();
    pic.setScale(savedLeft, savedTop, savedWidth, savedHeight);
}

}  // namespace app
