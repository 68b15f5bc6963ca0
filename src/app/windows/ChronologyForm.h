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
    ui::Label* Label1;  // "Calendar year of the topmost varve:"
    ui::TextBox* Text1;
    ui::Label* Label2;  // "Section:"
    ui::TextBox* Text2;
    ui::Label* Label3;  // "Depth of the section's top in the composite core (mm):"
    ui::TextBox* Text3;
    ui::Label* Label4;  // "Year boundaries (levels):"
    ui::TextBox* Text4;
    ui::Label* Label5;  // "Uncertain year boundaries (levels):"
    ui::TextBox* Text5;
    ui::Label* Label6;     // how the years are counted without a calendar year
    ui::Button* Command1;  // Save...
    ui::Button* Command2;  // Cancel

    // The values as kept, the section named after the open core; then shown.
    void open();
    void Command1_Click();
};

// File > "Join chronologies...": section chronologies chosen from the top down, tied two by two, the
// joined chronology and its report saved.
void JoinChronologies();

}  // namespace app
