#pragma once

#include "chronology/ChronologyPlot.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// Tool > "Chronology plot": the varve thickness against the year and the age against the composite
// depth with the counting error, as the chronology would be saved now (the choices of the last Save
// chronology); it follows the count while it is open, and saves its picture as PNG, SVG or PDF.
class ChronologyPlotForm : public ui::Form {
    Q_OBJECT
  public:
    ChronologyPlotForm();
    ui::PictureBox* figureBox;  // the two figures
    ui::Button* savePictureButton;  // "Save picture..."

    // Drawn again from the count as it is now.
    void refresh();
    void savePictureButton_Click();
    void Form_Resize() override;

    const chronology::ChronologyFigure& figure() const { return figure_; }

  private:
    chronology::ChronologyFigure figure_;
};

// Tool > "Chronology plot".
void ShowChronologyPlot();
// After a change of the markers: the open plot is drawn again once the program is idle.
void ChronologyPlotMayHaveChanged();

}  // namespace app
