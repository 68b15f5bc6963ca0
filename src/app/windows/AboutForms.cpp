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
    logo = make<ui::ImageBox>(c);
    logo->place(120, 120, 5040, 600);
    logo->setPicture(makeLogo(336, 40));
    versionLabel = make<ui::Label>(c, QStringLiteral("Stratalyser " STRATALYSER_VERSION));
    versionLabel->place(120, 840, 5040, 345);
    QFont bold = versionLabel->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    versionLabel->setFont(bold);
    purposeLabel =
        make<ui::Label>(c, QStringLiteral("Counting annual laminae in sediment cores from an X-radiograph, "
                                          "Itrax XRF core scanner data and a core photo."));
    purposeLabel->setWordWrap(true);
    purposeLabel->place(120, 1260, 5040, 600);
    settingsFileLabel = make<ui::Label>(c, QString());
    settingsFileLabel->setWordWrap(true);
    settingsFileLabel->place(120, 1920, 5040, 600);
    okButton = make<ui::Button>(c, QStringLiteral("OK"));
    okButton->place(3960, 2580, 1200, 375);
    connect(okButton, &ui::Button::Click, this, &ui::Form::Hide);
}

TestForm::TestForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Staff only"));
    Move(3000, 3000, 4200, 2760);
    QWidget* c = client();
    redrawLabel = make<ui::Label>(c, QStringLiteral("Redraw parts of the display:"));
    redrawLabel->place(120, 120, 3840, 285);
    greyCurveButton = make<ui::Button>(c, QStringLiteral("Grey curve"));
    sectionButton = make<ui::Button>(c, QStringLiteral("Monitor datasheet"));
    markersButton = make<ui::Button>(c, QStringLiteral("Redraw"));
    closeUpButton = make<ui::Button>(c, QStringLiteral("test"));
    int row = 0;
    for (ui::Button* b : {greyCurveButton, sectionButton, markersButton, closeUpButton})
        b->place(120, 480 + 420 * row++, 3840, 375);
    connect(greyCurveButton, &ui::Button::Click, this, [] { frmMain->redrawGreyButton_Click(); });
    connect(sectionButton, &ui::Button::Click, this, [] { frmMain->renderSectionButton_Click(); });
    connect(markersButton, &ui::Button::Click, this, [] { frmMain->redrawMarkersButton_Click(); });
    connect(closeUpButton, &ui::Button::Click, this,
            [] { frmMain->redrawCloseUpButton_Click(); });  // redraws the close-up
}

}  // namespace app
