#include "AppFixture.h"
#include "app/InstalledFiles.h"

using app::References;
using core::Variant;

TEST_F(AppTest, StartsWithTheShippedSettingsWithoutAMessage) {
    // Default layout: the main window in the free area's corner (beside a 60-pixel panel at the
    // screen's left the second time), the preview beside it under the metre scale's room, to the
    // screen's right edge; the raw image window in the preview's place.
    for (const int panel : {60, 0}) {
        restart();
        ui::screen::overrideSizePixels(1280, 1024, QPoint(panel, 0));
        app::MainForm& main = start();
        EXPECT_TRUE(dialogs->shown().empty() && app::frmPreview->isVisible());
        EXPECT_EQ(QPointF(main.Left(), main.Top()), QPointF(panel * 15, 0));
        for (const ui::Form* preview : std::initializer_list<const ui::Form*>{&app::frmPreview.get(), &app::frmRawImage.get()})
            EXPECT_EQ(QRectF(preview->Left(), preview->Top(), preview->Width(), preview->Height()),
                      QRectF(main.Left() + main.Width(), 720, 1280 * 15 - main.Left() - main.Width(), 1395));
    }
    // One version everywhere: the title, the about box (and --version, the package).
    const app::MainForm& main = app::frmMain.get();
    EXPECT_TRUE(main.Caption() == "Stratalyser " STRATALYSER_VERSION &&
                app::frmAbout->Caption() == "About " + main.Caption() &&
                app::frmAbout->versionLabel->Caption() == main.Caption());
    // Section rectangles right-aligned in their pictures.
    EXPECT_EQ(app::frmPreview->sectionFrame->Left() + app::frmPreview->sectionFrame->Width(),
              app::frmPreview->renderSurface->Left() + app::frmPreview->renderSurface->Width());
}

// An installed program (no settings folder beside it, the shipped defaults in its data folder) keeps
// its settings in the user's folder, in a copy of the defaults the user may write; a build's program
// keeps them in the settings folder beside it. A program started by a benchmark or a test is given a
// settings file of its own by the environment.
TEST(SettingsFileTest, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
    const QTemporaryDir dir;
    const QString program = dir.filePath("usr/bin"), user = dir.filePath("home/.config/Stratalyser");
    const QString shipped = QDir(program).filePath(app::kDataFolderFromProgram + "/References/Stratalyser_References.csv");
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(QFileInfo(shipped).path()) &&
                QFile::copy(testsupport::sourceFile("References/Stratalyser_References.csv"), shipped));
    QFile::setPermissions(shipped, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const QString own = app::settingsFileFor(program, user);
    EXPECT_EQ(own, user + "/Stratalyser_References.csv");
    EXPECT_TRUE(files::readFileBytes(own) == files::readFileBytes(shipped) &&
                (QFile::permissions(own) & QFileDevice::WriteOwner) && !QFileInfo::exists(program + "/References"));
    ASSERT_TRUE(QDir().mkpath(program + "/References"));
    EXPECT_EQ(app::settingsFileFor(program, user), program + "/References/Stratalyser_References.csv");
    qputenv(app::kSettingsFileVariable, "own-settings.csv");
    EXPECT_EQ(app::SettingsFilePath(), "own-settings.csv");
    qunsetenv(app::kSettingsFileVariable);
    EXPECT_NE(app::SettingsFilePath(), "own-settings.csv");
}

TEST_F(AppTest, WithoutASettingsFileWarnsOnceAndRunsOnDefaults) {
    QFile::remove(settingsPath);
    app::MainForm& main = start();
    const auto messages = dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "Reference file is missing. Stratalyser will open as ver. 1.6.4.  Latest installer "
              "package is avalable at <the source tree: bash scripts/setup.sh package>");
    EXPECT_EQ(messages[0].title, "Message from Stratalyser");
    EXPECT_EQ(messages[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_TRUE(main.Caption() == "Stratalyser 1.6" && app::frmAbout->versionLabel->Caption() == "Stratalyser 1.6");
    EXPECT_TRUE(!app::ReferencesLoaded && app::frmPreview->isVisible());
    for (int row = 1; row <= 100; ++row) EXPECT_TRUE(References(3, row) == 9999) << row;
    // Quitting leaves no settings file behind.
    main.mnuQuit->trigger();
    EXPECT_TRUE(app::programEnded() && !QFile::exists(settingsPath));
}

// Positions stored in the settings are applied; a file whose row 1 reads fewer rows takes the
// unread values as set, and an empty value is 0, not 9999 (the default rule).
TEST_F(AppTest, StoredPositionsAreAppliedAndUnreadRowsAreEmpty) {
    auto table = shippedSettings();
    for (const auto& [row, value] : {std::pair{5, 3000.0f}, {6, 450.0f}, {7, 600.0f}, {8, 300.0f}, {9, 15000.0f},
                                     {10, 1200.0f}, {11, 2400.0f}})
        table(3, row) = Variant(value);
    writeSettings(table);
    app::MainForm& main = start();
    EXPECT_EQ(QPointF(main.Left(), main.Top()), QPointF(450, 3000));
    EXPECT_EQ(QRectF(app::frmPreview->Left(), app::frmPreview->Top(), app::frmPreview->Width(), 0),
              QRectF(300, 600, 15000, 0));
    for (const ui::Shape* section : {app::frmPreview->sectionFrame, app::frmRawImage->sectionFrame})
        EXPECT_EQ(QPointF(section->Left(), section->Width()), QPointF(1200, 2400));
    EXPECT_TRUE(dialogs->shown().empty());

    restart();
    table(3, 1) = Variant(core::Integer(2));
    writeSettings(table);
    app::MainForm& fewer = start();
    EXPECT_TRUE(app::ReferencesLoaded);
    EXPECT_TRUE(References(3, 5).isEmpty());
    EXPECT_EQ(fewer.Top(), 0);
    EXPECT_EQ(app::frmPreview->Width(), 0);
}
