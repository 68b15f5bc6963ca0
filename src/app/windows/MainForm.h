#pragma once

#include "app/WindowLayout.h"
#include "core/Errors.h"
#include "files/XrfFile.h"
#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// The main window: the rendered radiograph, the import buttons, the radiograph and photo display
// settings, the save and quit buttons and the main menu. It cannot be resized.
class MainForm : public ui::Form {
    Q_OBJECT
  public:
    MainForm();

    // Controls. Frames come first: they own what they hold.
    ui::Frame* radiographFrame;  // " Radiograph "
    ui::Frame* photoFrame;       // " Optical image "
    ui::Frame* windowFrame;      // " Window "
    ui::Button* importRadiographButton;
    ui::ControlArray<ui::Slider> radiographSliders;
    ui::ControlArray<ui::Label>
        sliderCaptions;  // 0, 1: radiograph slider captions; 2, 3: photo slider captions
    ui::CheckBox* colourCheck;
    ui::Button* importPhotoButton;
    ui::ControlArray<ui::Slider> photoSliders;
    ui::ControlArray<ui::Label> sectionEndCaptions;
    ui::ControlArray<ui::TextBox> sectionEndPositions;
    ui::Label* pointerCaption;
    ui::Label* pointerReadout;
    ui::Button* importXrfButton;
    ui::Button* saveAsButton;
    ui::Button* showToolsButton;
    ui::Button* quitButton;
    ui::Label* resolutionLabel;
    ui::ComboBox* resolutionList;
    ui::Label* steppingLabel;
    ui::TextBox* steppingBox;
    ui::Label* steppingUnit;
    ui::TextBox* extraWidthBox;  // extra width of the curve plots in pixels; not shown
    ui::PictureBox* radiographPicture;
    ui::PictureBox* sectionBackground;  // stored copy of the section background; not shown
    ui::ControlArray<ui::Label> pixelReadout;
    ui::Shape* pixelColourSwatch;
    ui::ControlArray<ui::Label> sectionColumnsReadout;
    ui::ProgressBar* progressBar;
    ui::ImageBox* logo;
    // Maintenance buttons, hidden from users.
    ui::Button* redrawGreyButton;
    ui::Button* renderSectionButton;
    ui::Button* redrawMarkersButton;
    ui::Button* redrawCloseUpButton;

    // Menus.
    ui::MenuItem* mnuFile;
    ui::MenuItem* mnuOpenRadio;
    ui::MenuItem* mnuOpenXRF;
    ui::MenuItem* mnuOpenPhoto;
    ui::MenuItem* mnuSave;
    ui::MenuItem* mnuSaveAs;
    ui::MenuItem* mnuSummary;
    ui::MenuItem* mnuChronology;  // every boundary's position and counts, for an age model
    ui::MenuItem* mnuJoin;            // section chronologies into one of the composite core
    ui::MenuItem* mnuCompare;         // a second count of the core beside this one
    ui::MenuItem* mnuSaveComparison;  // where the two differ, as a table
    ui::MenuItem* mnuOpenRecent;      // "Open recent": the last cores worked on
    ui::ControlArray<ui::MenuItem> mnuRecentCores;  // 1..10, newest first
    ui::MenuItem* undoKeys;          // Ctrl+Z on the main window, as over the curves (in no menu)
    ui::MenuItem* redoKeys;          // Ctrl+Shift+Z, Ctrl+Y
    ui::MenuItem* mnuExportPicture;  // "Export picture...": the curve windows or the preview, for a paper
    ui::MenuItem* mnuCloseCore;  // "Close core": the program as at start, for the next core
    ui::MenuItem* mnuQuit;
    ui::MenuItem* mnuTool;
    ui::MenuItem* mnuScale;
    ui::MenuItem* mnuElastic;
    ui::MenuItem* mnuShowAll;
    ui::MenuItem* mnuAlign;
    ui::MenuItem* mnuActive;
    ui::MenuItem* mnuHideInvalid;
    ui::MenuItem* mnuPropose;
    ui::MenuItem* mnuCompareProposals;
    ui::MenuItem* mnuChronologyPlot;  // "Chronology plot": thickness by year, age by depth
    ui::MenuItem* mnuSetting;
    ui::MenuItem* mnuColourSetting;
    ui::ControlArray<ui::MenuItem> mnuLevelSetting;
    ui::MenuItem* mnuDefaultColour;
    ui::MenuItem* mnuDefaultAll;
    ui::MenuItem* mnuQuestion;
    ui::MenuItem* mnuAbout;
    ui::MenuItem* mnuManual;  // the manual in the desktop's viewer

    // Loads the radiograph and sets up the whole document around it.
    // A path given (the command line) is opened without asking; otherwise the open dialog asks.
    // The first section: as the settings keep it (or fitted to the screen where they keep none), or
    // fitted to the screen whatever they keep (the demonstration core).
    enum class FirstSection { AsKept, FitScreen };
    void ImportRadiograph(const QString& givenPath = QString(), FirstSection first = FirstSection::AsKept);
    void importRadiographButton_Click() { openRadiograph(QString()); }
    // The import and the elastic scale placed above curve window 1.
    void openRadiograph(const QString& givenPath, FirstSection first = FirstSection::AsKept);
    // Re-renders preview and section after a change of brightness, contrast, colour or resolution.
    void renderRadiograph();

    // Reads an XRF table or a working file into the document and shows it in every window.
    void ImportXRFdata(const QString& givenPath = QString());
    void importXrfButton_Click();
    // Opens the core photo in its window, ready for a close-up.
    void ImportCorePhoto(const QString& givenPath = QString());
    void importPhotoButton_Click() { ImportCorePhoto(); }
    // The photo placed along the core by the run records beside the photo, the XRF table and the
    // radiograph, when they tell where it lies; read again when any of the three is opened.
    void placePhotoByRecords();
    // A data position's place along the section in mm: the XRF position, else counted by the stepping.
    core::Millimetres positionMm(core::Position p) const;
    // Brightness or contrast of the close-up changed.
    void photoSliders_Change();
    // Saves the working file; mode 0 = to WorkingFileName, 1 = Save as. True when it was written.
    bool SaveFile(int mode);
    // Saves the working file to `path` without asking, as "Save as" does once a name is chosen.
    bool SaveWorkingFileAs(const QString& path);
    // Writes the summary of the counting.
    void mnuSummary_Click();
    // Opens the chronology's window: a row per varve with its calendar year, depths and thickness.
    void mnuChronology_Click();
    // Every way of quitting comes here: settings written, unsaved work offered for saving.
    // Returns false when the user chose to stay (or the save did not happen).
    bool QuitProgram();
    // File > Close core: as a quit would, the settings written and unsaved work offered for saving;
    // then every window as at start (at once after this command returns), ready for the next
    // radiograph. False when the user chose to stay.
    bool CloseCore();

    // Event handlers (public: other windows and tests call them as the program's commands).
    void quitButton_Click();
    void mnuQuit_Click();
    void resolutionList_Click();
    void radiographPicture_MouseMove(int button, int shift, double x, double y);
    void mnuAlign_Click();
    void mnuShowAll_Click();
    void mnuAbout_Click();
    void mnuManual_Click();
    void mnuHideInvalid_Click();
    void mnuPropose_Click();
    void showToolsButton_Click();
    void steppingBox_Change();
    void mnuScale_Click();
    void mnuElastic_Click();
    void logo_DblClick();
    void mnuLevelSetting_Click(int index);
    void mnuDefaultColour_Click();
    void mnuDefaultAll_Click();
    void saveAsButton_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void redrawGreyButton_Click();
    void renderSectionButton_Click();
    void redrawMarkersButton_Click();
    void redrawCloseUpButton_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Form_Resize() override;
    void Form_MouseMove(int button, int shift, double x, double y) override;

  private:
    void buildControls();
    void buildMenus();
    void connectEvents();
    void readSettingsFile();
    void placePreviewWindows();
    bool writeWorkingFileTo(const QString& path);
    void fitSectionToCurveColumns(const layout::Rect& area, double extraPixels, bool keepLeft);
    void settingsFailurePath(const QString& message);
    static QString settingsProblem(const core::RuntimeError& error);
    bool placeOntoColumns(files::XrfContents& contents, const QString& path);
    void takeXrfContents(files::XrfContents&& contents, const QString& path);
    void showXrfData();

  public:
    void setProgress(bool shown, int max = 0);
    void enableCurveTools();

  private:
    double recordedWidth_ = 0;
    double recordedHeight_ = 0;
    // The working file is still the scanner's tab-separated table: Save as offers a .csv beside it,
    // so that accepting the offer never replaces the scanner's original.
    bool workingFileIsScannerTable_ = false;
    // Where a position without a number is counted from: the table's first numeric position.
    std::optional<files::TableStart> tableStart_;
};

}  // namespace app
