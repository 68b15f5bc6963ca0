#include <sys/resource.h>

#include <csignal>

#include "AppFixture.h"

using ui::MessageResult;
using ui::ScriptedDialogs;

namespace {
const QString kQuestion = QStringLiteral("Do you want to save the changes to the working file?");
}

class QuitPaths : public AppTest, public ::testing::WithParamInterface<int> {
  protected:
    // The three ways of quitting: the Quit button, the Quit menu command, the close box.
    void quit(app::MainForm& main) {
        if (GetParam() == 0)
            main.quitButton->click();
        else if (GetParam() == 1) main.mnuQuit->trigger();
        else main.close();
    }
};

// The three ways of quitting (the Quit button, the Quit menu command, the close box), each with
// nothing unsaved (it ends at once, asking nothing, and writes the settings), then with a marker
// placed: Cancel returns to the program, Yes saves through Save as and ends, No ends unsaved.
TEST_P(QuitPaths, AskOnlyWhenWorkIsUnsaved) {
    app::MainForm& main = start();
    main.Move(600, 2400, main.Width(), main.Height());
    quit(main);
    EXPECT_TRUE(app::programEnded() && !main.isVisible());
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_TRUE(savedSettings()(3, 5) == 2400);

    const auto startWithAMarker = [this] {
        restart();
        openSyntheticCore(300);
        importXrf(dir.filePath("Results.csv"));
        keyAt(2, 100, Qt::Key_1);
        dialogs->clearRecord();
        return &app::frmMain.get();
    };
    app::MainForm* again = startWithAMarker();
    QFile::remove(settingsPath);
    dialogs->answerMessage(MessageResult::Cancel);
    quit(*again);
    EXPECT_TRUE(!app::programEnded() && again->isVisible());
    const auto asked = dialogs->shownOf(ScriptedDialogs::Kind::Message);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].text == kQuestion && asked[0].title == "Stratalyser");
    EXPECT_EQ(asked[0].buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_TRUE(QFile::exists(settingsPath));  // the settings are written whatever the answer

    const QString target = dir.filePath("counted.csv");
    dialogs->answerMessage(MessageResult::Yes).answerSave(target);
    quit(*again);
    EXPECT_TRUE(app::programEnded());
    const auto saves = dialogs->shownOf(ScriptedDialogs::Kind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].initialName, dir.filePath("Results.csv"));  // pre-filled with the working file
    EXPECT_EQ(saves[0].filter, "DataFile(*.csv)|*.csv");
    EXPECT_TRUE(files::readFileBytes(target).contains("\r\n\"varvecounting\"\r\n"));

    again = startWithAMarker();
    dialogs->answerMessage(MessageResult::No);
    quit(*again);
    EXPECT_TRUE(app::programEnded());
    EXPECT_EQ(dialogs->unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Button_Menu_CloseBox, QuitPaths, ::testing::Values(0, 1, 2));

// A save that is cancelled or fails, by the Save as button or by Yes at a quit, keeps the work
// unsaved and open, says why it failed, leaves the file it came from untouched, and the next quit
// asks again.
TEST_F(AppTest, ACancelledOrFailedSaveKeepsTheWorkAndQuittingAsksAgain) {
    writeFile(dir.filePath("plain"), "x");
    const QString impossible = dir.filePath("plain/work.csv");  // inside a file: cannot be written
    const QString told = "The working file could not be saved to ";
    const struct {
        const char* what;
        bool byQuit;
        QString target;  // empty: the dialog is cancelled
        bool diskFull = false;
    } rows[] = {
        {"Save as, disk full", false, dir.filePath("full.csv"), true},
        {"Save as, failing", false, impossible},
        {"Save as, cancelled", false, QString()},
        {"quit, Yes, failing", true, impossible},
        {"quit, Yes, cancelled", true, QString()},
    };
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the program
    for (const auto& row : rows) {
        restart();
        openSyntheticCore(300);
        const QString source = dir.filePath("Results.txt");
        importXrf(source);
        keyAt(2, 100, Qt::Key_1);
        app::MainForm& main = app::frmMain.get();
        dialogs->clearRecord();
        if (row.byQuit) dialogs->answerMessage(MessageResult::Yes);
        row.target.isEmpty() ? dialogs->cancelFile() : dialogs->answerSave(row.target);
        const rlimit full{row.diskFull ? 1024 : unlimited.rlim_cur, unlimited.rlim_max};  // as on a full disk
        setrlimit(RLIMIT_FSIZE, &full);
        row.byQuit ? main.quitButton->click() : main.saveAsButton->click();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_FALSE(app::programEnded() || app::Saved || QFileInfo::exists(dir.filePath("full.csv"))) << row.what;
        EXPECT_TRUE(main.saveAsButton->Caption() == "Save as" && app::WorkingFileName == source) << row.what;
        EXPECT_EQ(files::readFileBytes(source), synth::makeXrfTable(core, true)) << row.what;
        const auto messages = dialogs->shownOf(ScriptedDialogs::Kind::Message);
        const QString why = messages.empty() ? QString() : messages.back().text;
        const QString reason = row.diskFull ? QString::fromLocal8Bit(strerror(EFBIG)) : QString();  // not "canceled"
        const bool toldWhy = why.startsWith(told + QDir::toNativeSeparators(row.target)) && why.contains(reason);
        EXPECT_EQ(toldWhy, !row.target.isEmpty()) << row.what;
        dialogs->clearRecord();
        dialogs->answerMessage(MessageResult::No);
        main.quitButton->click();
        EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Message).at(0).text, kQuestion) << row.what;
        EXPECT_TRUE(app::programEnded()) << row.what;
        EXPECT_EQ(dialogs->unexpected(), 0) << row.what;
    }
}

TEST_F(AppTest, AnUnwritableSettingsFileIsReportedAndQuittingStillEnds) {
    app::MainForm& main = start();
    // The folder of the settings file turns into a file: nothing can be written there now.
    QDir(dir.filePath("References")).removeRecursively();
    files::saveFileBytes(dir.filePath("References"), "not a folder");
    main.mnuQuit->trigger();
    EXPECT_TRUE(app::programEnded());
    EXPECT_TRUE(onlyMessage().startsWith("The settings could not be saved to "));
}

TEST_F(AppTest, SaveRulesForEveryRowGroup) {
    auto table = shippedSettings();
    for (const auto& [row, value] : {std::pair{12, 111.0f}, {13, 222.0f}, {14, 333.0f}, {66, 444.0f}, {3, 5.0f},
                                     {50, 6.0f}, {80, 7.0f}})
        table(3, row) = core::Variant(value);
    table(2, 80) = core::Variant("kept");
    writeSettings(table);
    app::MainForm& main = start();
    app::frmPreview->sectionFrame->setLeft(1234);
    main.mnuQuit->trigger();
    // Unused rows go back to 9999, rows 68..100 keep column 2; before a radiograph import rows 12,
    // 13, 66, 67 stay as read, before XRF data rows 14..23, before a photo its rows.
    auto saved = savedSettings();
    const std::pair<int, core::Variant> rows[] = {
        {1, 100}, {3, 9999}, {50, 9999}, {29, 9999}, {80, "kept"}, {10, 1234}, {24, 9999},
        {33, 33023}, {12, 111}, {13, 222}, {66, 444}, {14, 333}};
    for (const auto& [row, value] : rows) EXPECT_TRUE(saved(3, row) == value) << row;
    EXPECT_TRUE(saved(0, 5) == "frmMain");  // labels written back unchanged

    // After the imports the current places are stored.
    restart();
    writeSettings(table);
    app::MainForm& again = start();
    again.importRadiographButton->setEnabled(false);  // as the radiograph import leaves it
    app::XrfLoaded = true;
    app::curveWindow(1).Move(1500, 2500, 6000, 1500);
    app::curveWindow(2).Move(1600, 4100, 6000, 1500);
    again.mnuQuit->trigger();
    saved = savedSettings();
    const std::pair<int, double> stored[] = {
        {12, 2500}, {13, 1500}, {14, 4100}, {15, 1600}, {66, app::frmActiveYears->Top()}};
    for (const auto& [row, value] : stored) EXPECT_TRUE(saved(3, row) == value) << row;
    EXPECT_EQ(saved(3, 12).type(),
              core::Variant::Type::Integer);  // a Single 2500 reads back as a whole number
}

// Before any XRF import nothing can be saved: quitting with a marker placed says so plainly and
// offers no save that must fail.
TEST_F(AppTest, QuittingWithMarkersBeforeTheXrfImportSaysToImportFirst) {
    openSyntheticCore(300);
    keyAt(1, 100, Qt::Key_1);
    dialogs->answerMessage(MessageResult::Yes);
    app::frmMain->quitButton->click();
    EXPECT_TRUE(onlyMessage().startsWith("The markers cannot be saved before XRF data are imported"));
    EXPECT_TRUE(app::programEnded());
}

// File > Close core asks as a quit does (Cancel stays), then leaves the program as at start, its
// settings kept, and the next core opens.
TEST_F(AppTest, CloseCoreAsksLikeAQuitAndLeavesTheProgramAsAtStart) {
    openSyntheticCore(300);
    importXrf(dir.filePath("Results.txt"));
    keyAt(2, 100, Qt::Key_1);
    dialogs->clearRecord();
    dialogs->answerMessage(MessageResult::Cancel);
    app::frmMain->mnuCloseCore->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(app::XrfLoaded && app::YearMark(100) == 1 && onlyMessage() == kQuestion);
    dialogs->answerMessage(MessageResult::No);
    app::frmMain->mnuCloseCore->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(!app::XrfLoaded && !app::RadiographImported && !app::programEnded() && app::frmMain->isVisible());
    EXPECT_TRUE(app::frmMain->importRadiographButton->isEnabled() && !app::frmMain->mnuCloseCore->Enabled() &&
                !app::frmMain->importXrfButton->isEnabled() && !app::curveWindow(2).isVisible() &&
                QFile::exists(settingsPath) && app::ReferencesLoaded);
    openRadiograph(dir.filePath("core.bmp"));
    importXrf(dir.filePath("Results.csv"));
    EXPECT_TRUE(app::XrfLoaded && app::YearMark(100) == "---" && app::Saved);
}
