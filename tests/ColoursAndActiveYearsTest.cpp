#include "AppFixture.h"

using app::LevelColour;
using app::References;
using core::Variant;

// A level's colour comes from the settings file, or from the built-in defaults without one. A
// colour chosen by Setting > Colour setting recolours the swatch and is saved at the quit (not
// without a settings file); a cancelled choice changes nothing; "Default" restores the file's own
// default colour.
TEST_F(AppTest, LevelColoursFromTheSettingsTheChoiceAndTheDefault) {
    QFile::remove(settingsPath);
    app::MainForm& bare = start();
    dialogs->answerColour(0x00FF00);
    bare.mnuLevelSetting(3)->trigger();
    EXPECT_TRUE(LevelColour(3) == 33023 && LevelColour(1) == 255);

    restart();
    auto table = shippedSettings();
    table(3, 33) = Variant(core::Long(0x123456));
    table(2, 34) = Variant(core::Long(0x445566));  // this file's own default for level 4
    writeSettings(table);
    app::MainForm& main = start();
    EXPECT_TRUE(LevelColour(3) == 0x123456);
    EXPECT_TRUE(LevelColour(0).isEmpty() && LevelColour(10).isEmpty());
    // "Default" restores every level to the file's own default colours.
    dialogs->answerColour(0);
    main.mnuLevelSetting(4)->trigger();
    main.mnuDefaultColour->trigger();
    EXPECT_TRUE(LevelColour(4) == 0x445566 && app::frmActiveYears->levelSwatches(4)->FillColour() == 0x445566);
    dialogs->answerColour(core::rgb(1, 2, 3)).cancelColour();
    main.mnuLevelSetting(3)->trigger();
    main.mnuLevelSetting(3)->trigger();
    EXPECT_TRUE(LevelColour(3) == core::rgb(1, 2, 3) &&
                app::frmActiveYears->levelSwatches(3)->FillColour() == core::rgb(1, 2, 3));
    main.mnuQuit->trigger();
    EXPECT_TRUE(savedSettings()(3, 33) == core::rgb(1, 2, 3));
}

TEST_F(AppTest, DefaultAllReturnsTheCurveWindowsToTheirDefaultLayout) {
    auto table = shippedSettings();
    table(3, 14) = Variant(9000.0f);
    table(3, 15) = Variant(9000.0f);
    writeSettings(table);
    app::MainForm& main = start();
    app::ArrangeCurveWindows();
    EXPECT_EQ(app::curveWindow(2).Top(), 9000);
    main.mnuDefaultAll->trigger();
    EXPECT_EQ(app::curveWindow(2).Top(), app::curveWindow(1).Top() + app::curveWindow(1).Height());
    main.mnuQuit->trigger();
    EXPECT_TRUE(savedSettings()(3, 14) == 9999);  // the defaults are what is saved

    // Without a settings file every position becomes unset, computed by its default rule.
    restart();
    QFile::remove(settingsPath);
    app::MainForm& bare = start();
    bare.mnuDefaultAll->trigger();
    EXPECT_EQ(app::curveWindow(2).Left(), app::curveWindow(1).Left());
}

namespace {
// Positions 1..20 displayed in full; markers placed at the given positions.
void markSection(std::initializer_list<std::pair<int, int>> marks) {
    app::DataLength = 20;
    app::YearMark.redim(0, 20, Variant("---"));
    app::YearMark(0) = Variant("Year");
    for (auto [position, level] : marks) app::YearMark(position) = Variant(static_cast<core::Integer>(level));
    app::ViewLeft = 0;
    app::ViewRight = 19;  // positions 20 down to 1
    app::XrfLoaded = true;
}
}  // namespace

TEST_F(AppTest, ActiveYearsCountTheDisplayedSectionPerLevel) {
    start();
    app::ActiveYearsForm& f = app::frmActiveYears.get();
    // Before the XRF import only the swatches follow.
    app::UpdateActiveYears();
    EXPECT_TRUE(f.levelLabels(1)(1)->Caption() == "0" && f.levelSwatches(1)->FillColour() == 255);

    markSection({{1, 1}, {2, 1}, {5, 3}, {7, 7}, {8, 9}, {20, 6}});
    app::UpdateActiveYears();
    for (const auto& [level, count] : {std::pair{1, "2"}, {3, "1"}, {2, "0"}})
        EXPECT_EQ(f.levelLabels(level)(1)->Caption(), count) << level;
    EXPECT_EQ(f.moreButton->Caption(), "More (3)");  // levels 6..9 hidden while collapsed

    // Only the displayed range counts.
    app::ViewLeft = 13;  // positions 7 .. 1
    app::UpdateActiveYears();
    EXPECT_EQ(f.levelLabels(6)(1)->Caption(), "0");
    EXPECT_EQ(f.moreButton->Caption(), "More (1)");

    // Expanding shows every level; collapsing recomputes the hidden count from the labels.
    QTest::mouseClick(f.moreButton, Qt::LeftButton);
    EXPECT_TRUE(f.moreButton->Caption() == "Retract" && f.level6Labels(0)->Visible());
    app::YearMark(6) = Variant(core::Integer(8));
    app::UpdateActiveYears();
    EXPECT_EQ(f.moreButton->Caption(), "Retract");  // the count is not shown while expanded
    f.moreButton_Click();
    EXPECT_TRUE(f.moreButton->Caption() == "More (2)" && !f.level6Labels(0)->Visible());
}
