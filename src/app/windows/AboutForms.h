#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// The about box: program name and version.
class AboutForm : public ui::Form {
    Q_OBJECT
  public:
    AboutForm();
    ui::ImageBox* Image1;
    ui::Label* Label8;  // program name and version
    ui::Label* Label1;  // what the program does
    ui::Label* Label2;  // the settings file in use
    ui::Button* Command1;
};

// "Staff only": the maintenance commands of the main window, for staff checking a set-up.
class TestForm : public ui::Form {
    Q_OBJECT
  public:
    TestForm();
    ui::Label* Label1;
    ui::Button* Command1;  // the grey curve again
    ui::Button* Command2;  // the section background again
    ui::Button* Command3;  // the markers again
    ui::Button* Command4;  // the close-up again
};

}  // namespace app
