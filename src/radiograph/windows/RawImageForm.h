#pragma once

#include "app/SharedState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Original image": the radiograph as loaded, stretched to the window, with the same section
// rectangle as the preview. Works in twips. Resizing it resizes the preview.
class RawImageForm : public ui::Form {
    Q_OBJECT
  public:
    RawImageForm();

    ui::ImageBox* rawImage;
    ui::Shape* sectionFrame;

    // The section rectangle is dragged here as in the preview, with a drag state of its own.
    void rawImage_MouseDown(int button, int shift, double x, double y);
    void rawImage_MouseMove(int button, int shift, double x, double y);
    void rawImage_MouseUp(int button, int shift, double x, double y);
    void rawImage_DblClick();

  protected:
    void Form_Resize() override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_DblClick() override;

  private:
    void sectionDragged();
    bool moving_ = false, leftEdge_ = false, rightEdge_ = false;
    Long grabOffset_ = 0;
    Long anchor_ = 0;
};

}  // namespace app
