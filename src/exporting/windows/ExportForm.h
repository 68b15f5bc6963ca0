#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// File > "Export picture...": a picture of the curve windows (the section on screen, stacked with
// their element names over a millimetre axis) or of the preview, at a width in pixels or
// millimetres, saved as PNG, SVG or PDF by the name's ending.
class ExportForm : public ui::Form {
    Q_OBJECT
  public:
    ExportForm();
    ui::Label* pictureLabel;    // "Picture of:"
    ui::ComboBox* pictureList;  // "Curve windows", "Preview"
    ui::Label* widthLabel;      // "Width:"
    ui::TextBox* widthBox;
    ui::ComboBox* unitList;    // "pixels", "mm"
    ui::Button* saveButton;    // Save...
    ui::Button* cancelButton;  // Cancel

    void saveButton_Click();
};

}  // namespace app
