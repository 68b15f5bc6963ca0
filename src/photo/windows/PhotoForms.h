#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// "Core photo": the optical photo, with the frame of the strip shown in the close-up. Twips.
class PhotoForm : public ui::Form {
    Q_OBJECT
  public:
    PhotoForm();
    ui::PictureBox* Picture1;  // the photo at its natural size; never shown; source of pixel reads
    ui::ImageBox* Image1;      // the photo as displayed
    ui::ImageBox* Image2;      // drag proxy, shown only while the photo is dragged
    ui::Shape* Shape1;         // the frame
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuCrop;
    ui::MenuItem* mnuAlignRadio;
};

// "Core photo (close up)": the framed strip enlarged, with the measuring band and the colour
// profiles. Pixels.
class CropForm : public ui::Form {
    Q_OBJECT
  public:
    CropForm();
    ui::ImageBox* Image1;      // the close-up as displayed
    ui::ImageBox* Image2;      // the whole photo, shown instead by Command1
    ui::PictureBox* Picture1;  // hidden 1:1 buffer of the strip
    ui::PictureBox* Picture2;  // hidden composition buffer
    ui::Shape* Shape1;         // the measuring band
    ui::LineShape* Line1;      // the pointer line
    ui::Button* Command1;
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuColour;
    ui::MenuItem* mnuLAB;
    ui::MenuItem* mnuRGB;
    ui::MenuItem* mnuGrey;
    ui::MenuItem* mnuPointerLink;
    ui::MenuItem* mnuLinkPosition;
    ui::MenuItem* mnuLinkScale;
    ui::MenuItem* mnuAlignScale;
};

// Not built yet (they come with the photo import): the photo frame over the section, the close-up.
void FitPhotoFrame();
void RenderCropImage();

}  // namespace app
