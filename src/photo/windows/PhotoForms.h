#pragma once

#include "core/Arithmetic.h"
#include "files/PhotoPlacement.h"
#include "photo/CloseUp.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

inline const QString kCloseUpCaption = QStringLiteral("Core photo (close up)");

// "Core photo": the optical photo, with the frame of the strip shown in the close-up. Twips.
class PhotoForm : public ui::Form {
    Q_OBJECT
  public:
    PhotoForm();
    ui::PictureBox* photoSource;  // the photo at its natural size; never shown; source of pixel reads
    ui::ImageBox* photoView;      // the photo as displayed
    ui::ImageBox* dragProxy;      // drag proxy, shown only while the photo is dragged
    ui::Shape* frame;             // the frame
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuCrop;
    ui::MenuItem* mnuAlignRadio;

    // The photo as loaded (32-bit), shared by the three picture controls.
    const QImage& photo() const { return photoSource->Background(); }
    void setPhoto(const QImage& photo);
    // The frame's first place on the photo shown in a newly made window: the middle two fifths
    // of a photo, or a strip from a tenth down to its bottom (FitPhotoFrame trims it).
    void placeInitialFrame();
    // The frame in photo pixels (CropLeft .. CropBottom as the close-up takes them).
    photo::CropRect cropRect() const;
    // Where the scanner's coordinates place the photo along the core; nothing: the photo spans the
    // window, as the preview spans the radiograph.
    std::optional<files::PhotoPlacement> placement;
    // The photo as long as the radiograph's columns it covers and over them, as the preview shows
    // them (parts off the window are not seen); nothing without a placement.
    void placeOverPreviewColumns();

    void photoView_MouseDown(int button, int shift, double x, double y);
    void photoView_MouseMove(int button, int shift, double x, double y);
    void photoView_MouseUp(int button, int shift, double x, double y);
    void photoView_DblClick();
    void mnuCrop_Click();
    void mnuAlignRadio_Click();

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

  private:
    // Horizontally inside the frame (its border lines count as outside).
    bool insideFrameColumns(double x) const;
    // Within 30 twips of an edge at window y `edge`.
    bool nearFrameEdge(double y, double edge) const;
    void showDragProxy(bool shown);

    bool DragPhoto = false, DragTopEdge = false, DragBottomEdge = false, DragFrame = false;
    // Whole twips, as 32-bit numbers: a photo dragged far off its window never overflows them.
    core::Long GrabY = 0, GrabHeight = 0, GrabTop = 0, GrabPhotoOffset = 0, GrabFrameOffset = 0;
};

// "Core photo (close up)": the framed strip enlarged, with the measuring band and the colour
// profiles. Pixels.
class CropForm : public ui::Form {
    Q_OBJECT
  public:
    CropForm();
    ui::ImageBox* closeUpView;          // the close-up as displayed
    ui::ImageBox* wholePhotoView;       // the whole photo, shown instead by wholePhotoButton
    ui::PictureBox* stripBuffer;        // hidden 1:1 buffer of the strip, brightness and contrast applied
    ui::PictureBox* compositionBuffer;  // hidden composition buffer: the strip magnified, the curves over it
    ui::Shape* measuringBand;           // the measuring band
    ui::LineShape* pointerLine;         // the pointer line
    ui::Button* wholePhotoButton;
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuColour;
    ui::MenuItem* mnuLAB;
    ui::MenuItem* mnuRGB;
    ui::MenuItem* mnuGrey;
    ui::MenuItem* mnuPointerLink;
    ui::MenuItem* mnuLinkPosition;
    ui::MenuItem* mnuLinkScale;
    ui::MenuItem* mnuAlignScale;

    void wholePhotoButton_Click();
    void closeUpView_MouseDown(int button, int shift, double x, double y);
    void closeUpView_MouseMove(int button, int shift, double x, double y);
    void closeUpView_MouseUp(int button, int shift, double x, double y);
    void closeUpView_DblClick();
    void mnuLAB_Click() { chooseColourModel(mnuLAB); }
    void mnuRGB_Click() { chooseColourModel(mnuRGB); }
    void mnuGrey_Click() { chooseColourModel(mnuGrey); }
    void mnuLinkPosition_Click();
    void mnuLinkScale_Click();
    void mnuAlignScale_Click();

    // The close-up's size in pixels from the window's size.
    void sizeCloseUp();
    // The band fractions from the band as it stands.
    void takeBandFractions();
    core::Integer bandDragMode() const { return BandDragMode; }

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

  private:
    void chooseColourModel(ui::MenuItem* item);
    // Room for the scale window under the close-up: the height is limited to the screen.
    void leaveRoomForScale();

    core::Single BandTopFraction = 0, BandLeftFraction = 0, BandWidthFraction = 0, BandHeightFraction = 0;
    core::Integer BandDragMode = 0;  // 0 none, 1 top edge, 2 bottom edge, 3 whole band
    core::Single BandGrabTop = 0, BandGrabHeight = 0, BandGrabY = 0;
    bool ScaleDragging = false;
    core::Single ScaleAtGrab = 0;
};

// The main window's optical sliders and their captions: usable only while the close-up is open.
void enablePhotoSliders(bool enabled);

// The frame on the photo follows the radiograph section (horizontally); the close-up is rendered
// again when open.
void FitPhotoFrame();
// The close-up of the framed strip with brightness and contrast, its profile and its curves.
void RenderCropImage();
// The mean colours of the band in every close-up column (unadjusted photo), and the close-up's
// composition background.
void ComputeColourProfile();
// The checked colour model's curves over the close-up.
void DrawColourProfile();

// Window linking: the close-up's pointer line for curve-plot x (sourceScaleWidth: the calling
// plot's ScaleWidth), only while the close-up is open.
void ShowCropPointer(double x, double sourceScaleWidth);
// The curve windows' pointer lines for the close-up's pointer at pixel x.
void ShowCurvePointersFromCloseUp(double xPixels);
// The millimetre scale window directly under the close-up (or as low as the screen allows).
void DockScaleUnderCrop();

}  // namespace app
