#pragma once

#include "app/SharedState.h"
#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// "Preview": the whole radiograph as rendered, with the section rectangle and the band lines.
// Works in twips; its drawing surface Picture2 has a pixel scale inside.
class PreviewForm : public ui::Form {
    Q_OBJECT
  public:
    static constexpr double kHeight = 1395;  // the preview and the raw image window keep this height

    PreviewForm();

    ui::PictureBox* Picture2;               // hidden drawing surface of the rendering
    ui::ImageBox* Image2;                   // what the user sees and drags on
    ui::Shape* Shape1;                      // the section rectangle
    ui::ControlArray<ui::LineShape> Line1;  // band lines: 0 upper, 1 lower

    ui::MenuItem* mnurb;
    ui::MenuItem* mnuLamina;
    ui::MenuItem* mnuAlignScale;
    ui::MenuItem* mnuAlignPicture;

  protected:
    void Form_Load() override;
    void Form_Resize() override;
};

// Not built yet (comes with the lamina labels): the labelled laminae drawn over the preview.
void DrawMarkerLabels();

}  // namespace app
