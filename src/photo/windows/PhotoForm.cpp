#include <cmath>

#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "curves/windows/CurveForm.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "scales/windows/ScaleForms.h"
#include "files/SettingsRows.h"
#include "ui/Dialogs.h"
#include "ui/KeyCodes.h"
#include "ui/Screen.h"

namespace app {

using ui::make;

namespace {
// Design places (twips).
constexpr double kDesignPhotoHeight = 4335;  // Image1's height before the first photo
constexpr double kMinimumFrameHeight = 60;
constexpr double kEdgeNearness = 30;      // a press closer than this to a frame edge grabs it
constexpr int kFrameBottomGapPixels = 4;  // a trimmed frame ends this far above the photo's bottom
// The window's border and caption (twips at 15 per pixel), as the photo's window is sized.
constexpr double kBorderTwips = 120, kCaptionTwips = 360;
}  // namespace

PhotoForm::PhotoForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Core photo"));
    Move(120, 405, 6335, 4755);
    QWidget* c = client();
    Picture1 = make<ui::PictureBox>(c);
    Picture1->autoSize = true;
    Picture1->hide();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(0, 0, 6215, kDesignPhotoHeight);
    Image2 = make<ui::ImageBox>(c);
    Image2->place(0, 0, 6215, kDesignPhotoHeight);
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);  // the drag goes on in Image1
    Image2->hide();
    Shape1 = make<ui::Shape>(c);
    Shape1->setBorderColour(core::rgb(255, 0, 0));
    Shape1->place(0, kDesignPhotoHeight * 3 / 10, 3000, kDesignPhotoHeight * 2 / 5);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuCrop = mnuRB->add(QStringLiteral("Crop"));
    mnuRB->addSeparator();
    mnuAlignRadio = mnuRB->add(QStringLiteral("Align radiograph"));

    connect(Image1, &ui::ImageBox::MouseDown, this, &PhotoForm::Image1_MouseDown);
    connect(Image1, &ui::ImageBox::MouseMove, this, &PhotoForm::Image1_MouseMove);
    connect(Image1, &ui::ImageBox::MouseUp, this, &PhotoForm::Image1_MouseUp);
    connect(Image1, &ui::ImageBox::DblClick, this, &PhotoForm::Image1_DblClick);
    connect(mnuCrop, &ui::MenuItem::Click, this, &PhotoForm::mnuCrop_Click);
    connect(mnuAlignRadio, &ui::MenuItem::Click, this, &PhotoForm::mnuAlignRadio_Click);
}

void PhotoForm::setPhoto(const QImage& photo) {
    Picture1->setPicture(photo);
    Image1->setPicture(photo);
    Image2->setPicture(photo);
}

photo::CropRect PhotoForm::cropRect() const {
    // The photo may start left of the window (placed by the scanner's coordinates).
    return photo::cropRectOf(QRectF(Shape1->Left() - Image1->Left(), Shape1->Top(), Shape1->Width(), Shape1->Height()),
                             Image1->Top(), QSizeF(Image1->Width(), Image1->Height()), photo().size());
}

void PhotoForm::Form_Load() {
    setHeight(Picture1->Height() + kCaptionTwips);
    setWidth(Picture1->Width() + kBorderTwips);
    DragPhoto = false;
    Image2->hide();
}

void PhotoForm::placeInitialFrame() {
    const double h = Image1->Height(), top = Image1->Top();
    if (PhotoIsStrip) {
        Shape1->place(Shape1->Left(), h / 10 + top, Shape1->Width(), h);
    } else {
        Shape1->place(Shape1->Left(), h * 3 / 10 + top, Shape1->Width(), h * 2 / 5);
    }
}

void PhotoForm::Form_Resize() {
    if (Height() > kCaptionTwips) {
        Image1->setWidth(Width() - kBorderTwips);
        Image2->place(Image2->Left(), Image2->Top(), Image1->Width(), Image1->Height());
        FitPhotoFrame();
    } else {
        setMousePointer(ui::MousePointer::Default);
    }
}

void PhotoForm::Form_Unload(bool& cancel) {
    (void)cancel;
    SaveReferences();
    if (frmCrop.exists()) frmCrop->Hide();
    PhotoOpen = false;
    CropOpen = false;
    enablePhotoSliders(false);
}

// ---------------------------------------------------------------------------------------------
// The frame over the section

void PhotoForm::placeOverPreviewColumns() {
    if (!placement || !(ColumnsPerPreviewTwip > 0)) return;
    const PreviewForm& preview = frmPreview.get();
    // Preview x (twips) = columns / ColumnsPerPreviewTwip; this window's x lies Left - preview.Left
    // to the right of the preview's, as the frame's does.
    const double left = placement->leftInColumns() / ColumnsPerPreviewTwip - (Left() - preview.Left());
    Image1->place(left, Image1->Top(), placement->widthInColumns() / ColumnsPerPreviewTwip, Image1->Height());
}

void FitPhotoFrame() {
    if (!frmPhoto.exists()) return;
    PhotoForm& p = frmPhoto.get();
    PreviewForm& preview = frmPreview.get();
    p.placeOverPreviewColumns();
    // The frame starts at the same screen x as the preview's section rectangle, as wide as it.
    p.Shape1->setLeft(preview.Shape1->Left() - (p.Left() - preview.Left()));
    p.Shape1->setWidth(frmRawImage->Shape1->Width());
    // Trimmed to the photo's bottom, wherever a drag left the photo: rows below it are black.
    const double photoBottom = p.Image1->Top() + p.Image1->Height();
    if (p.Shape1->Top() + p.Shape1->Height() > photoBottom) {
        const double r = photoBottom - p.Shape1->Top() - kFrameBottomGapPixels * TwipsPerPixel;
        if (r > 0) p.Shape1->setHeight(r);
    }
    if (CropOpen) RenderCropImage();
}

// ---------------------------------------------------------------------------------------------
// Dragging the photo, the frame and its edges

bool PhotoForm::insideFrameColumns(double x) const {
    const double at = Image1->Left() + x;  // the photo's x in the window's
    return Shape1->Left() < at && at < Shape1->Left() + Shape1->Width();
}

bool PhotoForm::nearFrameEdge(double y, double edge) const {
    const double d = Image1->Top() + y - edge;
    return d * d < kEdgeNearness * kEdgeNearness;
}

void PhotoForm::showDragProxy(bool shown) {
    if (shown) Image2->place(Image1->Left(), Image1->Top(), Image1->Width(), Image1->Height());
    Image2->setVisible(shown);
    Image1->setBlank(shown);  // hidden to the eye; the drag it started goes on
}

void PhotoForm::Image1_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    if (button == ui::kRightButton) {
        PopupMenu(mnuRB);
        return;
    }
    if (button != ui::kLeftButton) return;
    const bool inside = insideFrameColumns(x);
    const double top = Shape1->Top(), height = Shape1->Height();
    if (inside && nearFrameEdge(y, top)) {
        DragTopEdge = true;
        GrabY = core::clng(y);
        GrabHeight = core::clng(height);
    } else if (inside && nearFrameEdge(y, top + height)) {
        DragBottomEdge = true;
    } else if (inside && top - Image1->Top() < y && y < top - Image1->Top() + height) {
        DragFrame = true;
        GrabY = core::clng(y);
        GrabTop = core::clng(top);
    } else {
        if (!inside) Image1->setMousePointer(ui::MousePointer::Cross);
        DragPhoto = true;
        GrabPhotoOffset = core::clng(y - Image1->Top());
        GrabFrameOffset = core::clng(y - top);
    }
    if (DragPhoto) {
        showDragProxy(true);
        ProfileDirty = true;
    }
}

void PhotoForm::Image1_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    if (DragPhoto) {
        Image2->setTop(y - GrabPhotoOffset);
        Shape1->setTop(y - GrabFrameOffset);
    }
    if (DragTopEdge) {
        const double h = GrabHeight - (y - GrabY);
        if (h < kMinimumFrameHeight) {
            Shape1->place(Shape1->Left(), Image1->Top() + GrabY + GrabHeight - kMinimumFrameHeight,
                          Shape1->Width(), kMinimumFrameHeight);
        } else {
            Shape1->place(Shape1->Left(), Image1->Top() + y, Shape1->Width(), h);
        }
    } else if (DragBottomEdge) {
        const double h = Image1->Top() + y - Shape1->Top();
        Shape1->setHeight(h < kMinimumFrameHeight ? kMinimumFrameHeight : h);
    } else if (DragFrame) {
        const double t = GrabTop + (y - GrabY);
        if (t < 0) {
            Shape1->setTop(0);
        } else if (t + Shape1->Height() > ScaleHeight()) {
            Shape1->setTop(ScaleHeight() - Shape1->Height());
        } else {
            Shape1->setTop(t);
        }
    } else {
        const double top = Shape1->Top(), height = Shape1->Height();
        const bool inside = insideFrameColumns(x);
        if (inside && (nearFrameEdge(y, top) || nearFrameEdge(y, top + height))) {
            Image1->setMousePointer(ui::MousePointer::SizeNS);
        } else if (inside && top - Image1->Top() < y && y < top - Image1->Top() + height) {
            Image1->setMousePointer(ui::MousePointer::SizeAll);
        } else {
            Image1->setMousePointer(ui::MousePointer::Cross);
        }
    }
    ClearCurvePointers();
}

void PhotoForm::Image1_MouseUp(int button, int shift, double x, double y) {
    (void)shift, (void)x, (void)y;
    Image1->setTop(Image2->Top());
    showDragProxy(false);
    DragPhoto = DragTopEdge = DragBottomEdge = DragFrame = false;
    // Every left press starts a drag; its release fits the frame and renders the close-up again,
    // even when the pointer left the photo (the window may be a strip a few pixels high).
    if (button == ui::kLeftButton) FitPhotoFrame();
}

void PhotoForm::Image1_DblClick() {
    frmPreview->Show();
    if (XrfLoaded) {
        for (int k = 6; k >= 2; --k) curveWindow(k).Show();
    }
    curveWindow(1).Show();
    if (CropOpen) {
        frmCrop->Show();
        if (frmCrop->mnuLinkPosition->Checked()) frmScale->Show();
    }
}

// ---------------------------------------------------------------------------------------------
// Pop-up menu

void PhotoForm::mnuCrop_Click() {
    // A close-up closed by its close box opens afresh, as a newly made window.
    if (!CropOpen && frmCrop.exists()) frmCrop.destroy();
    const photo::CropRect crop = cropRect();
    if (photo::stripRegion(crop).empty()) {
        ui::dialogs().messageBox(
            QStringLiteral("The frame covers less than one pixel of the photo (%1 x %2 pixels). Please "
                           "widen the section or make the frame higher, or use a photo of higher "
                           "resolution.")
                .arg(static_cast<double>(crop.right - crop.left), 0, 'f', 2)
                .arg(static_cast<double>(crop.bottom - crop.top), 0, 'f', 2),
            ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, QStringLiteral("Message from Stratalyser"));
        return;
    }
    RenderCropImage();
    frmPreview->Show();
    CropForm& c = frmCrop.get();
    const double curvesTop = curveWindow(4).isVisible() ? curveWindow(4).Top() : ui::screen::heightTwips();
    const double bottomLimit = curvesTop - frmScale->Height();
    const layout::Rect place =
        layout::closeUp(screenAreaTwips(), placeOf(frmActiveYears.get()), c.Width(), c.Height(), bottomLimit);
    PlaceByLayout(c, files::settings::kCropTop, place, PlacesOfShownWindows({&c}));
    c.Show();
    enablePhotoSliders(true);
    CropOpen = true;
    const double room = ui::screen::heightTwips() - 2 * frmScale->Height();
    const double renderedHeight = c.Height();
    if (static_cast<Single>(c.Top() + c.Height()) > static_cast<Single>(room)) c.setHeight(room - c.Top());
    // Above the curve windows when it stands above them, with room for the scale docked under it.
    if (c.Top() < bottomLimit && c.Top() + c.Height() > bottomLimit) c.setHeight(bottomLimit - c.Top());
    if (c.Height() != renderedHeight) RenderCropImage();  // at the height it now has
    ProfileDirty = true;
    DrawColourProfile();
    DockScaleUnderCrop();
}

void PhotoForm::mnuAlignRadio_Click() {
    PreviewForm& preview = frmPreview.get();
    const double t = Top() - preview.Height();
    preview.setTop(t > 0 ? t : 0);
    preview.setLeft(Left());
    MetreScaleForm& metre = frm1m.get();
    const double u = Top() - preview.Height() - metre.Height();
    metre.setTop(u > 0 ? u : 0);
    metre.setLeft(Left());
}

}  // namespace app
