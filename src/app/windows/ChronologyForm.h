#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Save chronology": the calendar year of the topmost varve, the section's name, the depth of its
// top in the composite core and the levels that are year and uncertain year boundaries, then the
// file. The values (but the section's name, which belongs to the core) are kept in the settings.
class ChronologyForm : public ui::Form {
    Q_OBJECT
  public:
    ChronologyForm();
    ui::Label* topYearLabel;  // "Calendar year of the topmost varve:"
    ui::TextBox* topYearBox;
    ui::Label* sectionLabel;  // "Section:"
    ui::TextBox* sectionBox;
    ui::Label* compositeTopLabel;  // "Depth of the section's top in the composite core (mm):"
    ui::TextBox* compositeTopBox;
    ui::Label* yearLevelsLabel;  // "Year boundaries (levels):"
    ui::TextBox* yearLevelsBox;
    ui::Label* uncertainLevelsLabel;  // "Uncertain year boundaries (levels):"
    ui::TextBox* uncertainLevelsBox;
    ui::Label* countingNote;   // how the years are counted without a calendar year
    ui::Button* saveButton;    // Save...
    ui::Button* cancelButton;  // Cancel

    // The values as kept, the section named after the open core; then shown.
    void open();
    void saveButton_Click();
};

// File > "Join chronologies...": section chronologies chosen from the top down, tied two by two, the
// joined chronology and its report saved.
void JoinChronologies();

}  // namespace app
