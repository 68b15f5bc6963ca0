#include "AppFixture.h"

using app::References;
using core::Variant;

TEST_F(AppTest, StartsWithTheShippedSettingsWithoutAMessage) {
    app::MainForm& main = start();
    EXPECT_TRUE(dialogs->shown().empty() && app::frmPreview->isVisible());
    // One version everywhere: the title, the about box (and --version, the package).
    EXPECT_TRUE(main.Caption() == "Stratalyser " STRATALYSER_VERSION && app::frmAbout->Caption() == "About " + main.Caption() &&
                app::frmAbout->Label8->Caption() == main.Caption());
    // Default layout: the main window in the screen's corner, the preview beside it under the metre
    // scale's room, to the screen's right edge; the raw image window in the preview's place.
    EXPECT_EQ(QPointF(main.Left(), main.Top()), QPointF(0, 0));
    for (const ui::Form* preview : std::initializer_list<const ui::Form*>{&app::frmPreview.get(), &app::frmRawImage.get()})
        EXPECT_EQ(QRectF(preview->Left(), preview->Top(), preview->Width(), preview->Height()),
                  QRectF(main.Width(), 720, 1280 * 15 - main.Width(), 1395));
    // Section rectangles right-aligned in their pictures.
    EXPECT_EQ(app::frmPreview->Shape1->Left() + app::frmPreview->Shape1->Width(),
              app::frmPreview->Picture2->Left() + app::frmPreview->Picture2->Width());
}

// A program started by a benchmark or a test is given a settings file of its own by the environment.
TEST(SettingsFileTest, TheEnvironmentNamesASettingsFileOfItsOwn) {
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
    EXPECT_TRUE(main.Caption() == "Stratalyser 1.6" && app::frmAbout->Label8->Caption() == "Stratalyser 1.6");
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
    for (const ui::Shape* section : {app::frmPreview->Shape1, app::frmRawImage->Shape1})
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
