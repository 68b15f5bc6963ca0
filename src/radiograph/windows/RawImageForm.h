#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Original image": the radiograph as loaded, stretched to the window, with the same section
// rectangle as the preview. Works in twips. Resizing it resizes the preview.
class RawImageForm : public ui::Form {
    Q_OBJECT
  public:
    RawImageForm();

    ui::ImageBox* Image1;
    ui::Shape* Shape1;

  protected:
    void Form_Resize() override;
};

}  // namespace app
