#include "app/windows/MainForm.h"

#include "app/Logo.h"
#include "app/windows/FormRegistry.h"

namespace app {

using ui::make;

namespace {
// Design-time size of the main window (twips). It cannot be resized by the user.
constexpr double kMainWidth = 9720;
constexpr double kMainHeight = 6960;
}  // namespace

MainForm::MainForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Stratalyser " STRATALYSER_VERSION));
    Move(120, 1800, kMainWidth, kMainHeight);
    buildMenus();
    buildControls();
    connectEvents();
}

void MainForm::buildControls() {
    QWidget* c = client();

    // --- " Radiograph " and " Optical image "
    Frame1 = make<ui::Frame>(c, QStringLiteral(" Radiograph "));
    Frame1->place(120, 60, 3120, 1980);
    Frame2 = make<ui::Frame>(c, QStringLiteral(" Optical image "));
    Frame2->place(3360, 60, 3120, 1980);
    Command1 = make<ui::Button>(Frame1, QStringLiteral("Import radiograph"));
    Command1->place(180, 330, 2760, 405);
    // Label4(0..1) caption the radiograph sliders, Label4(2..3) the photo sliders.
    Label4 = ui::ControlArray<ui::Label>(0, 3, [this](long i) {
        auto* label = make<ui::Label>(i < 2 ? Frame1 : Frame2,
                                      i % 2 == 0 ? QStringLiteral("Brightness") : QStringLiteral("Contrast"));
        label->place(180, 870 + (i % 2) * 420, 960, 285);
        return label;
    });
    Slider1 = ui::ControlArray<ui::Slider>(0, 1, [this](long i) {
        auto* slider = make<ui::Slider>(Frame1, -100, 100);
        slider->setPageStep(10);
        slider->setTickInterval(50);
        slider->place(1140, 825 + i * 420, 1800, 375);
        return slider;
    });
    Check1 = make<ui::CheckBox>(Frame1, QStringLiteral("Colour"));
    Check1->place(180, 1620, 1500, 285);

    // --- " Optical image "
    Command3 = make<ui::Button>(Frame2, QStringLiteral("Import core photo"));
    Command3->place(180, 330, 2760, 405);
    Slider2 = ui::ControlArray<ui::Slider>(0, 1, [this](long i) {
        auto* slider = make<ui::Slider>(Frame2, -100, 100);
        slider->setPageStep(10);
        slider->setTickInterval(50);
        slider->place(1140, 825 + i * 420, 1800, 375);
        return slider;
    });

    // --- the command column
    const double right = 6720, buttonWidth = 2760, buttonHeight = 405;
    Command2 = make<ui::Button>(c, QStringLiteral("Import XRF data"));
    Command2->place(right, 210, buttonWidth, buttonHeight);
    Command5 = make<ui::Button>(c, QStringLiteral("Save as"));
    Command5->place(right, 690, buttonWidth, buttonHeight);
    Command7 = make<ui::Button>(c, QStringLiteral("Show tools"));
    Command7->place(right, 1170, buttonWidth, buttonHeight);
    Command4 = make<ui::Button>(c, QStringLiteral("Quit"));
    Command4->place(right, 1650, buttonWidth, buttonHeight);

    // --- " Window "
    Frame3 = make<ui::Frame>(c, QStringLiteral(" Window "));
    Frame3->place(120, 2130, 6360, 780);
    Label7 = ui::ControlArray<ui::Label>(0, 1, [this](long i) {
        auto* label =
            make<ui::Label>(Frame3, i == 0 ? QStringLiteral("To (L):  ") : QStringLiteral("From (R):  "));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->place(i == 0 ? 60 : 2040, 330, i == 0 ? 840 : 1080, 315);
        return label;
    });
    // Text3(0) holds the section's right-hand end, so it sits at "From (R)"; Text3(1) at "To (L)".
    Text3 = ui::ControlArray<ui::TextBox>(0, 1, [this](long i) {
        auto* box = make<ui::TextBox>(Frame3);
        box->place(i == 0 ? 3150 : 930, 315, 1020, 345);
        return box;
    });
    Label8 = make<ui::Label>(Frame3, QStringLiteral("Pointer:  "));
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label8->place(4260, 330, 900, 315);
    Label9 = make<ui::Label>(Frame3, QStringLiteral("---"));
    Label9->place(5190, 330, 1080, 315);

    // --- settings column
    Label10 = make<ui::Label>(c, QStringLiteral("Monitor resolution:"));
    Label10->place(right, 2160, buttonWidth, 285);
    Combo1 = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    Combo1->place(right, 2445, 1500, 345);
    Label5 = make<ui::Label>(c, QStringLiteral("Stepping:"));
    Label5->place(right, 2895, 900, 315);
    Text1 = make<ui::TextBox>(c, QStringLiteral("60"));
    Text1->place(right + 900, 2880, 900, 345);
    Label6 = make<ui::Label>(c, QStringLiteral("micron"));
    Label6->place(right + 1860, 2895, 900, 315);
    Text2 = make<ui::TextBox>(c, QStringLiteral("2"));
    Text2->place(right, 3300, 600, 345);
    Text2->hide();

    // --- the radiograph at full resolution; a large one is clipped by the window
    Picture1 = make<ui::PictureBox>(c);
    Picture1->place(120, 3360, 9360, 1380);
    Picture1->autoSize = true;
    Picture1->setFocusPolicy(Qt::NoFocus);
    Picture2 = make<ui::PictureBox>(c);
    Picture2->place(120, 3060, 600, 300);
    Picture2->hide();

    // --- read-outs
    Label2 = ui::ControlArray<ui::Label>(0, 1, [c](long i) {
        auto* label = make<ui::Label>(c);
        label->place(120 + i * 1260, 4860, 1200, 285);
        return label;
    });
    Shape0 = make<ui::Shape>(c);
    Shape0->setFilled(true);
    Shape0->setFillColour(core::rgb(255, 255, 255));
    Shape0->place(2640, 4830, 420, 345);
    Label1 = ui::ControlArray<ui::Label>(0, 1, [c](long i) {
        auto* label = make<ui::Label>(c);
        label->place(3300 + i * 1260, 4860, 1200, 285);
        return label;
    });
    ProgressBar1 = make<ui::ProgressBar>(c);
    ProgressBar1->place(120, 5400, 6360, 240);

    Image1 = make<ui::ImageBox>(c);
    Image1->place(right, 4800, buttonWidth, 870);
    Image1->setPicture(makeLogo(184, 58));
    Image1->setToolTipText(QStringLiteral("Stratalyser"));

    // Maintenance buttons: for staff, reached from the staff window; hidden from users.
    Command6 = make<ui::Button>(c, QStringLiteral("Grey curve"));
    Command97 = make<ui::Button>(c, QStringLiteral("Monitor datasheet"));
    Command98 = make<ui::Button>(c, QStringLiteral("Redraw"));
    Command99 = make<ui::Button>(c, QStringLiteral("test"));
    int k = 0;
    for (ui::Button* b : {Command6, Command97, Command98, Command99}) {
        b->place(120 + 1560 * k++, 5760, 1500, 345);
        b->hide();
    }

    // Design-time states: only the radiograph import and quitting are possible at first.
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    Command5->setEnabled(false);
    Command7->setEnabled(false);
    for (ui::Slider* s : Slider1) s->setEnabled(false);
    for (ui::Slider* s : Slider2) s->setEnabled(false);
    for (ui::Label* l : Label4) l->setEnabled(false);
}

void MainForm::buildMenus() {
    mnuFile = addMenu(QStringLiteral("File"));
    mnuOpenRadio = mnuFile->add(QStringLiteral("Import radiograph"));
    mnuOpenXRF = mnuFile->add(QStringLiteral("Import XRF data"));
    mnuOpenPhoto = mnuFile->add(QStringLiteral("Import optical image"));
    mnuFile->addSeparator();
    mnuSave = mnuFile->add(QStringLiteral("Save"));
    mnuSaveAs = mnuFile->add(QStringLiteral("Save as"));
    mnuSummary = mnuFile->add(QStringLiteral("Save summary"));
    mnuChronology = mnuFile->add(QStringLiteral("Save chronology..."));
    mnuJoin = mnuFile->add(QStringLiteral("Join chronologies..."));  // files alone: no core needed
    mnuFile->addSeparator();
    mnuCompare = mnuFile->add(QStringLiteral("Compare with another count..."));
    mnuSaveComparison = mnuFile->add(QStringLiteral("Save comparison"));
    mnuFile->addSeparator();
    mnuQuit = mnuFile->add(QStringLiteral("Quit"));

    mnuTool = addMenu(QStringLiteral("Tool"));
    mnuScale = mnuTool->add(QStringLiteral("Show scale"));
    mnuElastic = mnuTool->add(QStringLiteral("Show elastic scale"));
    mnuTool->addSeparator();
    mnuShowAll = mnuTool->add(QStringLiteral("Show all"));
    mnuAlign = mnuTool->add(QStringLiteral("Align forms"));
    mnuTool->addSeparator();
    mnuActive = mnuTool->add(QStringLiteral("Active pointer"));
    mnuHideInvalid = mnuTool->add(QStringLiteral("Hide invalid measurements"));
    mnuPropose = mnuTool->add(QStringLiteral("Propose boundaries..."));
    mnuCompareProposals = mnuTool->add(QStringLiteral("Compare with proposals"));

    mnuSetting = addMenu(QStringLiteral("Setting"));
    mnuColourSetting = mnuSetting->add(QStringLiteral("Colour setting"));
    mnuLevelSetting = ui::ControlArray<ui::MenuItem>(
        1, 9, [this](long i) { return mnuColourSetting->add(QStringLiteral("Level-%1").arg(i)); });
    mnuColourSetting->addSeparator();
    mnuDefaultColour = mnuColourSetting->add(QStringLiteral("Default"));
    mnuSetting->addSeparator();
    mnuDefaultAll = mnuSetting->add(QStringLiteral("Default"));

    mnuQuestion = addMenu(QStringLiteral("?"));
    mnuManual = mnuQuestion->add(QStringLiteral("Manual"));
    mnuAbout = mnuQuestion->add(QStringLiteral("About Stratalyser"));

    for (ui::MenuItem* m : {mnuOpenXRF, mnuOpenPhoto, mnuSave, mnuSaveAs, mnuSummary, mnuChronology, mnuCompare,
                            mnuSaveComparison, mnuScale, mnuElastic, mnuShowAll, mnuAlign, mnuActive, mnuHideInvalid,
                            mnuPropose, mnuCompareProposals}) {
        m->setEnabled(false);
    }
    mnuActive->setChecked(true);
}

}  // namespace app
