#include "app/windows/MainForm.h"

#include "app/Logo.h"
#include "app/windows/FormRegistry.h"
#include "files/RecentCores.h"

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
    radiographFrame = make<ui::Frame>(c, QStringLiteral(" Radiograph "));
    radiographFrame->place(120, 60, 3120, 1980);
    photoFrame = make<ui::Frame>(c, QStringLiteral(" Optical image "));
    photoFrame->place(3360, 60, 3120, 1980);
    importRadiographButton = make<ui::Button>(radiographFrame, QStringLiteral("Import radiograph"));
    importRadiographButton->place(180, 330, 2760, 405);
    // sliderCaptions(0..1) caption the radiograph sliders, sliderCaptions(2..3) the photo sliders.
    sliderCaptions = ui::ControlArray<ui::Label>(0, 3, [this](long i) {
        auto* label = make<ui::Label>(i < 2 ? radiographFrame : photoFrame,
                                      i % 2 == 0 ? QStringLiteral("Brightness") : QStringLiteral("Contrast"));
        label->place(180, 870 + (i % 2) * 420, 960, 285);
        return label;
    });
    radiographSliders = ui::ControlArray<ui::Slider>(0, 1, [this](long i) {
        auto* slider = make<ui::Slider>(radiographFrame, -100, 100);
        slider->setPageStep(10);
        slider->setTickInterval(50);
        slider->place(1140, 825 + i * 420, 1800, 375);
        return slider;
    });
    colourCheck = make<ui::CheckBox>(radiographFrame, QStringLiteral("Colour"));
    colourCheck->place(180, 1620, 1500, 285);

    // --- " Optical image "
    importPhotoButton = make<ui::Button>(photoFrame, QStringLiteral("Import core photo"));
    importPhotoButton->place(180, 330, 2760, 405);
    photoSliders = ui::ControlArray<ui::Slider>(0, 1, [this](long i) {
        auto* slider = make<ui::Slider>(photoFrame, -100, 100);
        slider->setPageStep(10);
        slider->setTickInterval(50);
        slider->place(1140, 825 + i * 420, 1800, 375);
        return slider;
    });

    // --- the command column
    const double right = 6720, buttonWidth = 2760, buttonHeight = 405;
    importXrfButton = make<ui::Button>(c, QStringLiteral("Import XRF data"));
    importXrfButton->place(right, 210, buttonWidth, buttonHeight);
    saveAsButton = make<ui::Button>(c, QStringLiteral("Save as"));
    saveAsButton->place(right, 690, buttonWidth, buttonHeight);
    showToolsButton = make<ui::Button>(c, QStringLiteral("Show tools"));
    showToolsButton->place(right, 1170, buttonWidth, buttonHeight);
    quitButton = make<ui::Button>(c, QStringLiteral("Quit"));
    quitButton->place(right, 1650, buttonWidth, buttonHeight);

    // --- " Window "
    windowFrame = make<ui::Frame>(c, QStringLiteral(" Window "));
    windowFrame->place(120, 2130, 6360, 780);
    sectionEndCaptions = ui::ControlArray<ui::Label>(0, 1, [this](long i) {
        auto* label = make<ui::Label>(windowFrame,
                                      i == 0 ? QStringLiteral("To (L):  ") : QStringLiteral("From (R):  "));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->place(i == 0 ? 60 : 1860, 330, i == 0 ? 840 : 1080, 315);
        return label;
    });
    // sectionEndPositions(0) holds the section's right-hand end, so it sits at "From (R)"; (1) at "To (L)".
    sectionEndPositions = ui::ControlArray<ui::TextBox>(0, 1, [this](long i) {
        auto* box = make<ui::TextBox>(windowFrame);
        box->place(i == 0 ? 2970 : 930, 315, 900, 345);  // "12345.67": the depth of a long core
        return box;
    });
    pointerCaption = make<ui::Label>(windowFrame, QStringLiteral("Pointer:  "));
    pointerCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pointerCaption->place(3900, 330, 840, 315);
    pointerReadout = make<ui::Label>(windowFrame, QStringLiteral("---"));
    pointerReadout->place(4740, 330, 1590, 315);  // room for "12345.67 mm, 2013"

    // --- settings column
    resolutionLabel = make<ui::Label>(c, QStringLiteral("Monitor resolution:"));
    resolutionLabel->place(right, 2160, buttonWidth, 285);
    resolutionList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    resolutionList->place(right, 2445, 1500, 345);
    steppingLabel = make<ui::Label>(c, QStringLiteral("Stepping:"));
    steppingLabel->place(right, 2895, 900, 315);
    steppingBox = make<ui::TextBox>(c, QStringLiteral("60"));
    steppingBox->place(right + 900, 2880, 900, 345);
    steppingUnit = make<ui::Label>(c, QStringLiteral("micron"));
    steppingUnit->place(right + 1860, 2895, 900, 315);
    extraWidthBox = make<ui::TextBox>(c, QStringLiteral("2"));
    extraWidthBox->place(right, 3300, 600, 345);
    extraWidthBox->hide();

    // --- the radiograph at full resolution; a large one is clipped by the window
    radiographPicture = make<ui::PictureBox>(c);
    radiographPicture->place(120, 3360, 9360, 1380);
    radiographPicture->autoSize = true;
    radiographPicture->setFocusPolicy(Qt::NoFocus);
    sectionBackground = make<ui::PictureBox>(c);
    sectionBackground->place(120, 3060, 600, 300);
    sectionBackground->hide();

    // --- read-outs
    pixelReadout = ui::ControlArray<ui::Label>(0, 1, [c](long i) {
        auto* label = make<ui::Label>(c);
        label->place(120 + i * 1260, 4860, 1200, 285);
        return label;
    });
    pixelColourSwatch = make<ui::Shape>(c);
    pixelColourSwatch->setFilled(true);
    pixelColourSwatch->setFillColour(core::rgb(255, 255, 255));
    pixelColourSwatch->place(2640, 4830, 420, 345);
    sectionColumnsReadout = ui::ControlArray<ui::Label>(0, 1, [c](long i) {
        auto* label = make<ui::Label>(c);
        label->place(3300 + i * 1260, 4860, 1200, 285);
        return label;
    });
    progressBar = make<ui::ProgressBar>(c);
    progressBar->place(120, 5400, 6360, 240);

    logo = make<ui::ImageBox>(c);
    logo->place(right, 4800, buttonWidth, 870);
    logo->setPicture(makeLogo(184, 58));
    logo->setToolTipText(QStringLiteral("Stratalyser"));

    // Maintenance buttons: for staff, reached from the staff window; hidden from users.
    redrawGreyButton = make<ui::Button>(c, QStringLiteral("Grey curve"));
    renderSectionButton = make<ui::Button>(c, QStringLiteral("Monitor datasheet"));
    redrawMarkersButton = make<ui::Button>(c, QStringLiteral("Redraw"));
    redrawCloseUpButton = make<ui::Button>(c, QStringLiteral("test"));
    int k = 0;
    for (ui::Button* b : {redrawGreyButton, renderSectionButton, redrawMarkersButton, redrawCloseUpButton}) {
        b->place(120 + 1560 * k++, 5760, 1500, 345);
        b->hide();
    }

    // Design-time states: only the radiograph import and quitting are possible at first.
    importXrfButton->setEnabled(false);
    importPhotoButton->setEnabled(false);
    saveAsButton->setEnabled(false);
    showToolsButton->setEnabled(false);
    for (ui::Slider* s : radiographSliders) s->setEnabled(false);
    for (ui::Slider* s : photoSliders) s->setEnabled(false);
    for (ui::Label* l : sliderCaptions) l->setEnabled(false);
}

void MainForm::buildMenus() {
    mnuFile = addMenu(QStringLiteral("&File"));
    mnuOpenRadio = mnuFile->add(QStringLiteral("Import radiograph"));
    mnuOpenXRF = mnuFile->add(QStringLiteral("Import XRF data"));
    mnuOpenPhoto = mnuFile->add(QStringLiteral("Import optical image"));
    mnuOpenRecent = mnuFile->add(QStringLiteral("Open recent"));
    mnuRecentCores =
        ui::ControlArray<ui::MenuItem>(1, static_cast<long>(files::kRecentCoresKept), [this](long) {
            ui::MenuItem* item = mnuOpenRecent->add(QString());
            item->setVisible(false);
            return item;
        });
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
    mnuExportPicture = mnuFile->add(QStringLiteral("Export picture..."));
    mnuCloseCore = mnuFile->add(QStringLiteral("Close core"));
    mnuQuit = mnuFile->add(QStringLiteral("Quit"));

    mnuTool = addMenu(QStringLiteral("&Tool"));
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
    mnuChronologyPlot = mnuTool->add(QStringLiteral("Chronology plot"));

    mnuSetting = addMenu(QStringLiteral("&Setting"));
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

    // The usual keys of a desktop program, from any of its windows. Ctrl+O opens what comes next:
    // the radiograph, then the XRF table or working file (only one of the two is offered at a time).
    for (ui::MenuItem* open : {mnuOpenRadio, mnuOpenXRF})
        open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), Qt::ApplicationShortcut);
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), Qt::ApplicationShortcut);
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), Qt::ApplicationShortcut);
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), Qt::ApplicationShortcut);
    // The marking's undo and redo from the main window too (the curve windows and the preview have their
    // own).
    undoKeys = new ui::MenuItem(this, QStringLiteral("Undo"));
    undoKeys->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoKeys = new ui::MenuItem(this, QStringLiteral("Redo"));
    redoKeys->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    for (ui::MenuItem* m :
         {undoKeys,     redoKeys,          mnuOpenXRF,     mnuOpenPhoto, mnuExportPicture,
          mnuCloseCore, mnuSave,           mnuSaveAs,      mnuSummary,   mnuChronology,
          mnuCompare,   mnuSaveComparison, mnuScale,       mnuElastic,   mnuShowAll,
          mnuAlign,     mnuActive,         mnuHideInvalid, mnuPropose,   mnuCompareProposals, mnuChronologyPlot}) {
        m->setEnabled(false);
    }
    mnuActive->setChecked(true);
    mnuOpenRecent->setEnabled(false);  // until the list is read
}

}  // namespace app
