#pragma once

#include <vector>

#include "files/Chronology.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Save chronology": the calendar year of the topmost varve, the section's name, the depth of its
// top in the composite core, the levels that are year, uncertain year and season boundaries, the
// site and the file's form (the program's table, a NOAA-style template or a LiPD-style table), then
// the file. The values (but the section's name, which belongs to the core) are kept in the settings.
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
    ui::Label* seasonLevelsLabel;  // "Season boundaries (levels):"
    ui::TextBox* seasonLevelsBox;
    ui::Label* siteLabel;  // "Site:"
    ui::TextBox* siteBox;
    ui::Label* formLabel;  // "Form:"
    ui::ComboBox* formList;    // the program's table, NOAA template, LiPD table
    ui::Label* countingNote;   // how the years are counted without a calendar year
    ui::Button* saveButton;    // Save...
    ui::Button* cancelButton;  // Cancel

    // The values as kept, the section named after the open core; then shown.
    void open();
    void saveButton_Click();
};

// The choices of the last save (the settings), for the open core.
files::ChronologyOptions KeptChronologyOptions();
// The open core's varves as the chronology counts them with `options`; while a second count is
// compared, each with the difference of the two counts in its interval.
std::vector<files::Varve> CurrentVarves(const files::ChronologyOptions& options);

// File > "Join chronologies...": section chronologies chosen from the top down, tied two by two, the
// joined chronology and its report saved.
void JoinChronologies();

}  // namespace app
