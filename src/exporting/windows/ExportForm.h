#pragma once

#include <functional>

#include "exporting/PlotsPicture.h"
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

// A picture saved through the save dialog (`title`, first offering `initialName`) as PNG, SVG or PDF
// by the name's ending; a name with another ending, or a file that cannot be written, is told in a
// message. True when the picture was saved.
bool SavePicture(const QString& title, const QString& initialName, exporting::PictureWidth width,
                 double layoutHeight, const std::function<void(QPainter&)>& paint);

}  // namespace app
