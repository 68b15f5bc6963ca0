// The main window's start-up, commands and quitting.
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cmath>

#include "app/InstalledFiles.h"
#include "app/SharedState.h"
#include "app/windows/AboutForms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/FormRegistry.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/RecentAndDropped.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "compare/windows/CompareForm.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "exporting/windows/ExportForm.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/Dialogs.h"
#include "ui/Screen.h"

namespace app {

using namespace files::settings;

namespace {
// Where the latest installer can be found, named in the missing-settings message.
// There is no download site yet: the package is made from the source tree.
const QString kDownloadAddress = QStringLiteral("the source tree: bash scripts/setup.sh package");

QString roundedText(double v) {
    return core::doubleText(core::roundHalfEven(v * 100.0) / 100.0);
}
}  // namespace

void MainForm::connectEvents() {
    connect(importRadiographButton, &ui::Button::Click, this, &MainForm::importRadiographButton_Click);
    connect(mnuOpenRadio, &ui::MenuItem::Click, this, &MainForm::importRadiographButton_Click);
    connect(colourCheck, &ui::CheckBox::Click, this, &MainForm::renderRadiograph);
    for (ui::Slider* s : radiographSliders)
        connect(s, &ui::Slider::Change, this, &MainForm::renderRadiograph);
    connect(quitButton, &ui::Button::Click, this, &MainForm::quitButton_Click);
    connect(importPhotoButton, &ui::Button::Click, this, &MainForm::importPhotoButton_Click);
    connect(mnuOpenPhoto, &ui::MenuItem::Click, this, &MainForm::importPhotoButton_Click);
    for (ui::Slider* s : photoSliders) connect(s, &ui::Slider::Change, this, &MainForm::photoSliders_Change);
    connect(importXrfButton, &ui::Button::Click, this, &MainForm::importXrfButton_Click);
    connect(mnuOpenXRF, &ui::MenuItem::Click, this, &MainForm::importXrfButton_Click);
    connect(saveAsButton, &ui::Button::Click, this, &MainForm::saveAsButton_Click);
    connect(mnuSummary, &ui::MenuItem::Click, this, &MainForm::mnuSummary_Click);
    connect(mnuChronology, &ui::MenuItem::Click, this, &MainForm::mnuChronology_Click);
    connect(mnuJoin, &ui::MenuItem::Click, this, &JoinChronologies);
    connect(mnuCompare, &ui::MenuItem::Click, this, &OpenReferenceCount);
    connect(mnuSaveComparison, &ui::MenuItem::Click, this, &SaveComparison);
    connect(mnuCompareProposals, &ui::MenuItem::Click, this, &CompareWithProposals);
    connect(mnuChronologyPlot, &ui::MenuItem::Click, this, &ShowChronologyPlot);
    connect(showToolsButton, &ui::Button::Click, this, &MainForm::showToolsButton_Click);
    connect(steppingBox, &ui::TextBox::Change, this, &MainForm::steppingBox_Change);
    connect(mnuScale, &ui::MenuItem::Click, this, &MainForm::mnuScale_Click);
    connect(mnuElastic, &ui::MenuItem::Click, this, &MainForm::mnuElastic_Click);
    connect(redrawGreyButton, &ui::Button::Click, this, &MainForm::redrawGreyButton_Click);
    connect(renderSectionButton, &ui::Button::Click, this, &MainForm::renderSectionButton_Click);
    connect(redrawMarkersButton, &ui::Button::Click, this, &MainForm::redrawMarkersButton_Click);
    connect(redrawCloseUpButton, &ui::Button::Click, this, &MainForm::redrawCloseUpButton_Click);
    connect(resolutionList, &ui::ComboBox::Click, this, &MainForm::resolutionList_Click);
    connect(radiographPicture, &ui::PictureBox::MouseMove, this, &MainForm::radiographPicture_MouseMove);
    connect(logo, &ui::ImageBox::DblClick, this, &MainForm::logo_DblClick);
    connect(mnuQuit, &ui::MenuItem::Click, this, &MainForm::mnuQuit_Click);
    connect(mnuCloseCore, &ui::MenuItem::Click, this, &MainForm::CloseCore);
    connect(mnuExportPicture, &ui::MenuItem::Click, this, [] { frmExport->Show(); });
    connect(undoKeys, &ui::MenuItem::Click, this, [] {
        if (PointerActive) UndoMarker();  // as the curve windows' Undo, which marking off disables
    });
    connect(redoKeys, &ui::MenuItem::Click, this, [] {
        if (PointerActive) RedoMarker();
    });
    for (int i = 1; i <= static_cast<int>(mnuRecentCores.upper()); ++i)
        connect(mnuRecentCores(i), &ui::MenuItem::Click, this, [i] { OpenRecentCore(i); });
    connect(mnuSave, &ui::MenuItem::Click, this, &MainForm::mnuSave_Click);
    connect(mnuSaveAs, &ui::MenuItem::Click, this, &MainForm::mnuSaveAs_Click);
    connect(mnuAlign, &ui::MenuItem::Click, this, &MainForm::mnuAlign_Click);
    connect(mnuShowAll, &ui::MenuItem::Click, this, &MainForm::mnuShowAll_Click);
    connect(mnuAbout, &ui::MenuItem::Click, this, &MainForm::mnuAbout_Click);
    connect(mnuManual, &ui::MenuItem::Click, this, &MainForm::mnuManual_Click);
    connect(mnuActive, &ui::MenuItem::Click, this, &ToggleActivation);
    connect(mnuHideInvalid, &ui::MenuItem::Click, this, &MainForm::mnuHideInvalid_Click);
    connect(mnuPropose, &ui::MenuItem::Click, this, &MainForm::mnuPropose_Click);
    for (int i = 1; i <= 9; ++i) {
        connect(mnuLevelSetting(i), &ui::MenuItem::Click, this, [this, i] { mnuLevelSetting_Click(i); });
    }
    connect(mnuDefaultColour, &ui::MenuItem::Click, this, &MainForm::mnuDefaultColour_Click);
    connect(mnuDefaultAll, &ui::MenuItem::Click, this, &MainForm::mnuDefaultAll_Click);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void MainForm::Form_Load() {
    // Saved, the undo history, the activation, the import flags, twips per pixel (Low) and the
    // band rows: every shared variable at its start value, from the one place that sets them.
    resetSharedState();
    ui::setTwipsPerPixel(TwipsPerPixel);
    progressBar->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{photoFrame, windowFrame, sectionEndCaptions(0),
                                                      sectionEndCaptions(1), pointerCaption, pointerReadout,
                                                      sectionEndPositions(0), sectionEndPositions(1)}) {
        w->setEnabled(false);
    }
    resolutionList->Clear();
    resolutionList->AddItem(QStringLiteral("High"));
    resolutionList->AddItem(QStringLiteral("Low"));
    resolutionList->setText(QStringLiteral("Low"));
    steppingBox->setText(QStringLiteral("60"));

    // The main window's place when the settings give none: the screen's top left corner. The preview
    // is placed beside it once the settings are read (or found missing).
    const layout::Point mainPlace = layout::mainWindow(screenAreaTwips());
    setLeft(mainPlace.left);
    setTop(mainPlace.top);
    PreviewForm& preview = frmPreview.get();
    preview.setHeight(PreviewForm::kHeight);
    recordedWidth_ = core::roundHalfEven(Width());
    recordedHeight_ = core::roundHalfEven(Height());
    setResizable(false);
    frmCurve1->topValueBox->setText(QString());
    frmCurve1->bottomValueBox->setText(QString());

    try {
        readSettingsFile();
        preview.Show();
        ReferencesLoaded = true;
    } catch (const core::RuntimeError& e) {
        settingsFailurePath(settingsProblem(e));
    }
    ShowRecentCores();
    ui::Form::setFileDropHandler(&OpenDroppedFiles);
}

// What the user is told about a settings file that cannot be used. A missing file gets the
// message users know; a damaged or unreadable one is named with its row or its error, and the
// program leaves it as it is (nothing is saved over it) so that it can be mended.
QString MainForm::settingsProblem(const core::RuntimeError& error) {
    const QString file = QDir::toNativeSeparators(SettingsFilePath());
    const QString fallback = QStringLiteral(
        " Stratalyser will open as ver. 1.6.4 with its default settings "
        "and leaves the file as it is.");
    if (const auto* damaged = dynamic_cast<const files::DamagedSettingsError*>(&error))
        return QStringLiteral("The reference file ") + file + QStringLiteral(" is damaged: ") +
               damaged->reason + fallback;
    QString why;
    switch (error.number()) {
        case core::kFileNotFound:
            return QStringLiteral(
                       "Reference file is missing. Stratalyser will open as ver. 1.6.4.  Latest "
                       "installer package is avalable at <") +
                   kDownloadAddress + QStringLiteral(">");
        case core::kFileTooLarge:
            why = QStringLiteral("it is far larger than a settings file can be");
            break;
        case core::kPathNotFound:
            why = QStringLiteral("it is a folder");
            break;
        default:
            why = QStringLiteral("permission denied");
            break;
    }
    return QStringLiteral("The reference file ") + file + QStringLiteral(" cannot be read (") + why +
           QStringLiteral(").") + fallback;
}

void MainForm::readSettingsFile() {
    files::readSettings(files::readFileBytes(SettingsFilePath()), References);
    HideInvalidMeasurements = settingOr(files::settings::kHideInvalid, 0) == 1;
    mnuHideInvalid->setChecked(HideInvalidMeasurements);
    PreviewForm& preview = frmPreview.get();
    RawImageForm& raw = frmRawImage.get();
    auto apply = [](int row, auto&& assign) {
        const Variant& v = References(kCurrent, row);
        if (!(v == kUnset)) assign(v.toDouble());
    };
    // Places kept from another screen (or another session's size) are used only where they still fit.
    const layout::Rect area = screenAreaTwips();
    const layout::Point mainPlace = layout::mainWindow(area);
    PlaceByLayout(*this, kMainTop, {mainPlace.left, mainPlace.top, Width(), Height()}, {});
    std::optional<layout::Rect> keptPreview;
    if (!(References(kCurrent, kPreviewTop) == kUnset) && !(References(kCurrent, leftRow(kPreviewTop)) == kUnset)) {
        const double left = settingOr(leftRow(kPreviewTop), 0);
        keptPreview = layout::Rect{left, settingOr(kPreviewTop, 0),
                                   settingOr(kPreviewWidth, layout::previewWidth(area, left)), preview.Height()};
    }
    const layout::Rect previewPlace =
        layout::fitPlaces(area, {{placeOf(*this), std::nullopt}, {layout::preview(area, placeOf(*this)), keptPreview}})
            .back();
    for (ui::Form* window : std::initializer_list<ui::Form*>{&raw, &preview})
        window->Move(previewPlace.left, previewPlace.top, previewPlace.width, window->Height());
    apply(kSectionWidth, [&](double v) {
        preview.sectionFrame->setWidth(v);
        raw.sectionFrame->setWidth(v);
    });
    if (References(kCurrent, kSectionLeft) == kUnset) {
        raw.sectionFrame->setLeft(raw.rawImage->Left() + raw.rawImage->Width() - raw.sectionFrame->Width());
        preview.sectionFrame->setLeft(preview.renderSurface->Left() + preview.renderSurface->Width() -
                                      preview.sectionFrame->Width());
    } else {
        raw.sectionFrame->setLeft(References(kCurrent, kSectionLeft).toDouble());
        preview.sectionFrame->setLeft(References(kCurrent, kSectionLeft).toDouble());
    }
}

// The preview and the raw image window share one place, beside the main window.
void MainForm::placePreviewWindows() {
    const layout::Rect place = layout::preview(screenAreaTwips(), placeOf(*this));
    for (ui::Form* window : std::initializer_list<ui::Form*>{&frmRawImage.get(), &frmPreview.get()})
        window->Move(place.left, place.top, place.width, window->Height());
}

void MainForm::settingsFailurePath(const QString& message) {
    ui::dialogs().messageBox(message, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation,
                             QStringLiteral("Message from Stratalyser"));
    setCaption(QStringLiteral("Stratalyser 1.6"));
    frmAbout->setCaption(QStringLiteral("About Stratalyser 1.6"));
    frmAbout->versionLabel->setCaption(QStringLiteral("Stratalyser 1.6"));
    for (int row = kRowCount; row <= kLastRow; ++row) References(kCurrent, row) = Variant(kUnset);
    placePreviewWindows();
    frmPreview->Show();
    ReferencesLoaded = false;
}

// The main window keeps the size it had at start-up.
void MainForm::Form_Resize() {
    if (recordedWidth_ <= 0) return;
    if (Width() != recordedWidth_ || Height() != recordedHeight_)
        Move(Left(), Top(), recordedWidth_, recordedHeight_);
}

// ---------------------------------------------------------------------------------------------
// Read-outs and view commands

void MainForm::Form_MouseMove(int, int, double, double) {
    ClearCurvePointers();
    pointerReadout->setCaption(QStringLiteral("---"));
}

void MainForm::radiographPicture_MouseMove(int, int, double x, double y) {
    pixelReadout(0)->setCaption(roundedText(x));
    pixelReadout(1)->setCaption(roundedText(y));
    const core::Colour c = radiographPicture->Point(x, y);  // -1 outside the picture: black
    const int red = std::max(c % 256, 0);
    const int green = std::max((c / 256) % 256, 0);
    const int blue = std::max(c / 65536, 0);
    pixelColourSwatch->setFillColour(core::rgb(red, green, blue));
}

// "High" is a display of 12 twips to the pixel: every window laid out in twips grows by a quarter
// on the screen, as it would on such a display, and the radiograph is rendered for its new size.
void MainForm::resolutionList_Click() {
    TwipsPerPixel =
        resolutionList->Text() == QStringLiteral("Low") ? ui::kLowTwipsPerPixel : ui::kHighTwipsPerPixel;
    ui::setTwipsPerPixel(TwipsPerPixel);
    renderRadiograph();
}

void MainForm::mnuAlign_Click() {
    CurveForm& c1 = curveWindow(1);
    CurveForm& c4 = curveWindow(4);
    curveWindow(2).setLeft(c1.Left());
    curveWindow(3).setLeft(c1.Left());
    curveWindow(2).setTop(c1.Top() + c1.Height());
    curveWindow(3).setTop(c1.Top() + 2 * c1.Height());
    curveWindow(5).setLeft(c4.Left());
    curveWindow(6).setLeft(c4.Left());
    curveWindow(5).setTop(c4.Top() + c4.Height());
    curveWindow(6).setTop(c4.Top() + 2 * c4.Height());
}

void MainForm::mnuShowAll_Click() {
    for (int k = 1; k <= 6; ++k) curveWindow(k).Show();
    Show();
}

// A stepping that is not a positive number gives scales without marks: the box says so.
void MainForm::steppingBox_Change() {
    const double step = core::val(steppingBox->Text());
    const bool usable = std::isfinite(step) && step > 0;
    steppingBox->setForeColour(usable ? core::rgb(0, 0, 0) : core::rgb(200, 0, 0));
    steppingBox->setToolTipText(
        usable ? QString()
               : QStringLiteral("The stepping must be a positive number of micron per pixel: "
                                "until it is, the scales show no marks."));
}

// "Show tools": both scales, the active years and the elastic scale.
void MainForm::showToolsButton_Click() {
    frm1m->Show();
    frmActiveYears->Show();
    frmScale->Show();
    ElasticLastTop = static_cast<Single>(curveWindow(1).Top() - frmElastic->Height());
    ElasticLastLeft = static_cast<Single>(curveWindow(1).Left());
    frmElastic->Show();
}

void MainForm::mnuScale_Click() {
    frm1m->Show();
    frmScale->Show();
}

// The elastic scale directly above curve window 1, as wide as it.
void MainForm::mnuElastic_Click() {
    CurveForm& c1 = curveWindow(1);
    ElasticForm& e = frmElastic.get();
    e.setWidth(c1.Width());
    e.setTop(c1.Top() - e.Height());
    e.setLeft(c1.Left());
    ElasticLastTop = static_cast<Single>(c1.Top() - e.Height());
    ElasticLastLeft = static_cast<Single>(c1.Left());
    e.Show();
}

void MainForm::mnuAbout_Click() {
    frmAbout->settingsFileLabel->setCaption(QStringLiteral("Settings: ") +
                                            QDir::toNativeSeparators(SettingsFilePath()));
    frmAbout->Show();
}

void MainForm::mnuManual_Click() {
    const QString manual = manualFile();
    if (!manual.isEmpty() && ui::dialogs().openDocument(manual)) return;
    ui::dialogs().messageBox(
        manual.isEmpty() ? QStringLiteral("The manual is not installed with this copy of Stratalyser.")
                         : QStringLiteral("No program to show the manual was found. It is the text file ") +
                               QDir::toNativeSeparators(manual) + QStringLiteral("."),
        ui::MessageButtons::Ok, ui::MessageIcon::Information, QStringLiteral("Message from Stratalyser"));
}
void MainForm::logo_DblClick() {
    frmTest->Show();
}

void MainForm::redrawGreyButton_Click() {
    RedrawGreyCurve();
}
void MainForm::renderSectionButton_Click() {
    RenderSection();
}
void MainForm::redrawMarkersButton_Click() {
    DrawMarkers();
}
void MainForm::redrawCloseUpButton_Click() {
    RenderCropImage();
}

// ---------------------------------------------------------------------------------------------
// Level colours

namespace {
void showLevelColours() {
    DrawMarkers();
    for (int k = 1; k <= 9; ++k) {
        frmActiveYears->levelSwatches(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    }
    // Keep the newly coloured markers when the transient drawings are next cleared.
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->commit();
}
}  // namespace

void MainForm::mnuLevelSetting_Click(int index) {
    const std::optional<core::Colour> chosen =
        ui::dialogs().chooseColour(static_cast<core::Colour>(LevelColour(index).toDouble()));
    if (!chosen) return;
    References(kCurrent, levelColourRow(index)) = Variant(static_cast<Long>(*chosen));
    showLevelColours();
}

void MainForm::mnuDefaultColour_Click() {
    for (int level = 1; level <= 9; ++level) {
        Variant& current = References(kCurrent, levelColourRow(level));
        current = ReferencesLoaded ? References(kDefault, levelColourRow(level)) : LevelColour(level);
    }
    showLevelColours();
}

// Without a settings file there are no defaults to return to: every position becomes unset, so
// each is computed by its default rule, as at a start without the file.
void MainForm::mnuDefaultAll_Click() {
    const auto isLevelColour = [](int row) { return row >= levelColourRow(1) && row <= levelColourRow(9); };
    if (ReferencesLoaded) {
        const int n = std::min<int>(core::cint(References(kCurrent, kRowCount).toDouble()), kLastRow);
        for (int row = kRowCount + 1; row <= n; ++row) References(kCurrent, row) = References(kDefault, row);
    } else {
        for (int row = kRowCount + 1; row <= kLastRow; ++row) {
            if (!isLevelColour(row)) References(kCurrent, row) = Variant(kUnset);
        }
    }
    ArrangeCurveWindows();
}

// ---------------------------------------------------------------------------------------------
// Saving and quitting

void MainForm::setProgress(bool shown, int max) {
    progressBar->setMin(0);
    progressBar->setMax(max);
    progressBar->setValue(0);
    progressBar->setVisible(shown);
    ui::setBusyPointer(shown);
}

// Quitting never loses work: with unsaved changes the user is asked, and a cancelled question,
// a cancelled save dialog or a failed save all return to the program.
namespace {
// Asks about unsaved work before the core is let go (by `going`: quitting, closing the core); false
// when the user chose to stay.
bool letGoOfTheCore(const QString& going) {
    if (!Saved && !XrfLoaded) {
        // A working file holds the XRF table: before its import there is nothing a save could
        // write, so the question says so instead of offering a save that must fail.
        const ui::MessageResult answer = ui::dialogs().messageBox(
            QStringLiteral("The markers cannot be saved before XRF data are imported: import XRF data first, "
                           "then save. ") +
                going + QStringLiteral(" without saving them?"),
            ui::MessageButtons::YesNo, ui::MessageIcon::Question, QStringLiteral("Stratalyser"));
        if (answer != ui::MessageResult::Yes) return false;
    } else if (!Saved) {
        const ui::MessageResult answer = ui::dialogs().messageBox(
            QStringLiteral("Do you want to save the changes to the working file?"),
            ui::MessageButtons::YesNoCancel, ui::MessageIcon::Question, QStringLiteral("Stratalyser"));
        if (answer == ui::MessageResult::Cancel) return false;
        if (answer == ui::MessageResult::Yes && !frmMain->SaveFile(1)) return false;
    }
    RemoveRecoveryCopy();  // saved, or the user chose not to
    return true;
}
}  // namespace

bool MainForm::QuitProgram() {
    SaveReferences();
    if (!letGoOfTheCore(QStringLiteral("Quit"))) return false;
    endProgram();
    return true;
}

bool MainForm::CloseCore() {
    SaveReferences();  // the windows' places, as the next start reads them
    if (!letGoOfTheCore(QStringLiteral("Close the core"))) return false;
    // The windows go once this command has returned: its menu item belongs to one of them.
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        unloadAllForms();
        frmMain->Show();  // a fresh main window: every shared variable at its start, the settings read again
    });
    return true;
}

void MainForm::quitButton_Click() {
    QuitProgram();
}
void MainForm::mnuQuit_Click() {
    QuitProgram();
}

void MainForm::Form_Unload(bool& cancel) {
    if (programEnded()) return;  // closing as part of ending the program
    cancel = !QuitProgram();
}

}  // namespace app
