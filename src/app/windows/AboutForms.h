#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// The about box: program name and version.
class AboutForm : public ui::Form {
    Q_OBJECT
  public:
    AboutForm();
    ui::ImageBox* logo;
    ui::Label* versionLabel;       // program name and version
    ui::Label* purposeLabel;       // what the program does
    ui::Label* settingsFileLabel;  // the settings file in use
    ui::Button* okButton;
};

// "Staff only": the maintenance commands of the main window, for staff checking a set-up.
class TestForm : public ui::Form {
    Q_OBJECT
  public:
    TestForm();
    ui::Label* redrawLabel;
    ui::Button* greyCurveButton;  // the grey curve again
    ui::Button* sectionButton;    // the section background again
    ui::Button* markersButton;    // the markers again
    ui::Button* closeUpButton;    // the close-up again
};

}  // namespace app
