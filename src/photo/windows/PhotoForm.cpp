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
constexpr double kDesignPhotoHeight = 4335;  // photoView's height before the first photo
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
    photoSource = make<ui::PictureBox>(c);
    photoSource->autoSize = true;
    photoSource->hide();
    photoView = make<ui::ImageBox>(c);
    photoView->place(0, 0, 6215, kDesignPhotoHeight);
    dragProxy = make<ui::ImageBox>(c);
    dragProxy->place(0, 0, 6215, kDesignPhotoHeight);
    dragProxy->setAttribute(Qt::WA_TransparentForMouseEvents);  // the drag goes on in photoView
    dragProxy->hide();
    frame = make<ui::Shape>(c);
    frame->setBorderColour(core::rgb(255, 0, 0));
    frame->place(0, kDesignPhotoHeight * 3 / 10, 3000, kDesignPhotoHeight * 2 / 5);
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuCrop = mnuRB->add(QStringLiteral("Crop"));
    mnuRB->addSeparator();
    mnuAlignRadio = mnuRB->add(QStringLiteral("Align radiograph"));

    connect(photoView, &ui::ImageBox::MouseDown, this, &PhotoForm::photoView_MouseDown);
    connect(photoView, &ui::ImageBox::MouseMove, this, &PhotoForm::photoView_MouseMove);
    connect(photoView, &ui::ImageBox::MouseUp, this, &PhotoForm::photoView_MouseUp);
    connect(photoView, &ui::ImageBox::DblClick, this, &PhotoForm::photoView_DblClick);
    connect(mnuCrop, &ui::MenuItem::Click, this, &PhotoForm::mnuCrop_Click);
    connect(mnuAlignRadio, &ui::MenuItem::Click, this, &PhotoForm::mnuAlignRadio_Click);
}

void PhotoForm::setPhoto(const QImage& photo) {
    photoSource->setPicture(photo);
    photoView->setPicture(photo);
    dragProxy->setPicture(photo);
}

photo::CropRect PhotoForm::cropRect() const {
    // The photo may start left of the window (placed by the scanner's coordinates).
    return photo::cropRectOf(
        QRectF(frame->Left() - photoView->Left(), frame->Top(), frame->Width(), frame->Height()),
        photoView->Top(), QSizeF(photoView->Width(), photoView->Height()), photo().size());
}

void PhotoForm::Form_Load() {
    setHeight(photoSource->Height() + kCaptionTwips);
    setWidth(photoSource->Width() + kBorderTwips);
    DragPhoto = false;
    dragProxy->hide();
}

void PhotoForm::placeInitialFrame() {
    const double h = photoView->Height(), top = photoView->Top();
    if (PhotoIsStrip) {
        frame->place(frame->Left(), h / 10 + top, frame->Width(), h);
    } else {
        frame->place(frame->Left(), h * 3 / 10 + top, frame->Width(), h * 2 / 5);
    }
}

void PhotoForm::Form_Resize() {
    if (Height() > kCaptionTwips) {
        photoView->setWidth(Width() - kBorderTwips);
        dragProxy->place(dragProxy->Left(), dragProxy->Top(), photoView->Width(), photoView->Height());
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
    const double left = placement->leftEdge().value / ColumnsPerPreviewTwip - (Left() - preview.Left());
    photoView->place(left, photoView->Top(), placement->widthInColumns() / ColumnsPerPreviewTwip,
                     photoView->Height());
}

void FitPhotoFrame() {
    if (!frmPhoto.exists()) return;
    PhotoForm& p = frmPhoto.get();
    PreviewForm& preview = frmPreview.get();
    p.placeOverPreviewColumns();
    // The frame starts at the same screen x as the preview's section rectangle, as wide as it.
    p.frame->setLeft(preview.sectionFrame->Left() - (p.Left() - preview.Left()));
    p.frame->setWidth(frmRawImage->sectionFrame->Width());
    // Trimmed to the photo's bottom, wherever a drag left the photo: rows below it are black.
    const double photoBottom = p.photoView->Top() + p.photoView->Height();
    if (p.frame->Top() + p.frame->Height() > photoBottom) {
        const double r = photoBottom - p.frame->Top() - kFrameBottomGapPixels * TwipsPerPixel;
        if (r > 0) p.frame->setHeight(r);
    }
    if (CropOpen) RenderCropImage();
}

// ---------------------------------------------------------------------------------------------
// Dragging the photo, the frame and its edges

bool PhotoForm::insideFrameColumns(double x) const {
    const double at = photoView->Left() + x;  // the photo's x in the window's
    return frame->Left() < at && at < frame->Left() + frame->Width();
}

bool PhotoForm::nearFrameEdge(double y, double edge) const {
    const double d = photoView->Top() + y - edge;
    return d * d < kEdgeNearness * kEdgeNearness;
}

void PhotoForm::showDragProxy(bool shown) {
    if (shown) dragProxy->place(photoView->Left(), photoView->Top(), photoView->Width(), photoView->Height());
    dragProxy->setVisible(shown);
    photoView->setBlank(shown);  // hidden to the eye; the drag it started goes on
}

void PhotoForm::photoView_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    if (button == ui::kRightButton) {
        PopupMenu(mnuRB);
        return;
    }
    if (button != ui::kLeftButton) return;
    const bool inside = insideFrameColumns(x);
    const double top = frame->Top(), height = frame->Height();
    if (inside && nearFrameEdge(y, top)) {
        DragTopEdge = true;
        GrabY = core::clng(y);
        GrabHeight = core::clng(height);
    } else if (inside && nearFrameEdge(y, top + height)) {
        DragBottomEdge = true;
    } else if (inside && top - photoView->Top() < y && y < top - photoView->Top() + height) {
        DragFrame = true;
        GrabY = core::clng(y);
        GrabTop = core::clng(top);
    } else {
        if (!inside) photoView->setMousePointer(ui::MousePointer::Cross);
        DragPhoto = true;
        GrabPhotoOffset = core::clng(y - photoView->Top());
        GrabFrameOffset = core::clng(y - top);
    }
    if (DragPhoto) {
        showDragProxy(true);
        ProfileDirty = true;
    }
}

void PhotoForm::photoView_MouseMove(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    if (DragPhoto) {
        dragProxy->setTop(y - GrabPhotoOffset);
        frame->setTop(y - GrabFrameOffset);
    }
    if (DragTopEdge) {
        const double h = GrabHeight - (y - GrabY);
        if (h < kMinimumFrameHeight) {
            frame->place(frame->Left(), photoView->Top() + GrabY + GrabHeight - kMinimumFrameHeight,
                         frame->Width(), kMinimumFrameHeight);
        } else {
            frame->place(frame->Left(), photoView->Top() + y, frame->Width(), h);
        }
    } else if (DragBottomEdge) {
        const double h = photoView->Top() + y - frame->Top();
        frame->setHeight(h < kMinimumFrameHeight ? kMinimumFrameHeight : h);
    } else if (DragFrame) {
        const double t = GrabTop + (y - GrabY);
        if (t < 0) {
            frame->setTop(0);
        } else if (t + frame->Height() > ScaleHeight()) {
            frame->setTop(ScaleHeight() - frame->Height());
        } else {
            frame->setTop(t);
        }
    } else {
        const double top = frame->Top(), height = frame->Height();
        const bool inside = insideFrameColumns(x);
        if (inside && (nearFrameEdge(y, top) || nearFrameEdge(y, top + height))) {
            photoView->setMousePointer(ui::MousePointer::SizeNS);
        } else if (inside && top - photoView->Top() < y && y < top - photoView->Top() + height) {
            photoView->setMousePointer(ui::MousePointer::SizeAll);
        } else {
            photoView->setMousePointer(ui::MousePointer::Cross);
        }
    }
    ClearCurvePointers();
}

void PhotoForm::photoView_MouseUp(int button, int shift, double x, double y) {
    (void)shift, (void)x, (void)y;
    photoView->setTop(dragProxy->Top());
    showDragProxy(false);
    DragPhoto = DragTopEdge = DragBottomEdge = DragFrame = false;
    // Every left press starts a drag; its release fits the frame and renders the close-up again,
    // even when the pointer left the photo (the window may be a strip a few pixels high).
    if (button == ui::kLeftButton) FitPhotoFrame();
}

void PhotoForm::photoView_DblClick() {
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
