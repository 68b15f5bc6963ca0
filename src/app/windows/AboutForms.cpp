#include "app/windows/AboutForms.h"
#include "ui/ControlArray.h"

#include "app/Logo.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"

namespace app {

using ui::make;

AboutForm::AboutForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("About Stratalyser " STRATALYSER_VERSION));
    Move(3000, 3000, 5400, 3540);
    QWidget* c = client();
    Image1 = make<ui::ImageBox>(c);
    Image1->place(120, 120, 5040, 600);
    Image1->setPicture(makeLogo(336, 40));
    Label8 = make<ui::Label>(c, QStringLiteral("Stratalyser " STRATALYSER_VERSION));
    Label8->place(120, 840, 5040, 345);
    QFont bold = Label8->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    Label8->setFont(bold);
    Label1 =
        make<ui::Label>(c, QStringLiteral("Counting annual laminae in sediment cores from an X-radiograph, "
                                          "Itrax XRF core scanner data and a core photo."));
    Label1->setWordWrap(true);
    Label1->place(120, 1260, 5040, 600);
    Label2 = make<ui::Label>(c, QString());
    Label2->setWordWrap(true);
    Label2->place(120, 1920, 5040, 600);
    Command1 = make<ui::Button>(c, QStringLiteral("OK"));
    Command1->place(3960, 2580, 1200, 375);
    connect(Command1, &ui::Button::Click, this, &ui::Form::Hide);
}

TestForm::TestForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Staff only"));
    Move(3000, 3000, 4200, 2760);
    QWidget* c = client();
    Label1 = make<ui::Label>(c, QStringLiteral("Redraw parts of the display:"));
    Label1->place(120, 120, 3840, 285);
    Command1 = make<ui::Button>(c, QStringLiteral("Grey curve"));
    Command2 = make<ui::Button>(c, QStringLiteral("Monitor datasheet"));
    Command3 = make<ui::Button>(c, QStringLiteral("Redraw"));
    Command4 = make<ui::Button>(c, QStringLiteral("test"));
    int row = 0;
    for (ui::Button* b : {Command1, Command2, Command3, Command4})
        b->place(120, 480 + 420 * row++, 3840, 375);
    connect(Command1, &ui::Button::Click, this, [] { frmMain->Command6_Click(); });
    connect(Command2, &ui::Button::Click, this, [] { frmMain->Command97_Click(); });
    connect(Command3, &ui::Button::Click, this, [] { frmMain->Command98_Click(); });
    connect(Command4, &ui::Button::Click, this, [] { frmMain->Command99_Click(); });  // redraws the close-up
}

}  // namespace app
