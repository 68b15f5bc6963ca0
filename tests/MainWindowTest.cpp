#include <gtest/gtest.h>
#include <QTest>

#include "TestSupport.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"

using app::frmMain;

namespace {
class MainWindow : public ::testing::Test {
  protected:
    void TearDown() override {
        app::unloadAllForms();
        app::resetProgramEnded();
    }
    testsupport::ScriptedDialogsScope dialogs;
};

QStringList captions(ui::MenuItem* menu) {
    QStringList result;
    for (QAction* a : menu->menu()->actions()) result << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return result;
}
}  // namespace

TEST_F(MainWindow, MenusHaveTheirCaptionsInOrder) {
    auto& f = frmMain.get();
    EXPECT_EQ(captions(f.mnuFile),
              (QStringList{"Import radiograph", "Import XRF data", "Import optical image", "-", "Save",
                           "Save as", "Save summary", "-", "Quit"}));
    EXPECT_EQ(captions(f.mnuTool), (QStringList{"Show scale", "Show elastic scale", "-", "Show all",
                                                "Align forms", "-", "Active pointer"}));
    EXPECT_EQ(captions(f.mnuSetting), (QStringList{"Colour setting", "-", "Default"}));
    EXPECT_EQ(captions(f.mnuColourSetting),
              (QStringList{"Level-1", "Level-2", "Level-3", "Level-4", "Level-5", "Level-6", "Level-7",
                           "Level-8", "Level-9", "-", "Default"}));
    EXPECT_EQ(f.mnuLevelSetting(9)->Caption(), "Level-9");
    EXPECT_THROW(f.mnuLevelSetting(0), core::SubscriptError);
    EXPECT_EQ(captions(f.mnuQuestion), QStringList{"About Stratalyser"});
    QStringList bar;
    for (QAction* a : f.menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"File", "Tool", "Setting", "?"}));
}

TEST_F(MainWindow, StartsWithOnlyTheRadiographImportAndQuitting) {
    auto& f = frmMain.get();
    f.Show();
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_TRUE(f.Command4->isEnabled());
    EXPECT_TRUE(f.mnuOpenRadio->Enabled());
    EXPECT_TRUE(f.mnuQuit->Enabled());
    EXPECT_TRUE(f.mnuSetting->Enabled());
    EXPECT_TRUE(f.mnuQuestion->Enabled());
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.Command2, f.Command3, f.Command5, f.Command7, f.Frame2, f.Frame3, f.Label7(0), f.Label7(1),
             f.Label8, f.Label9, f.Text3(0), f.Text3(1), f.Slider1(0), f.Slider1(1)}) {
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    }
    for (ui::MenuItem* m : {f.mnuOpenXRF, f.mnuOpenPhoto, f.mnuSave, f.mnuSaveAs, f.mnuSummary, f.mnuScale,
                            f.mnuElastic, f.mnuShowAll, f.mnuAlign, f.mnuActive}) {
        EXPECT_FALSE(m->Enabled()) << m->Caption().toStdString();
    }
    EXPECT_TRUE(f.mnuActive->Checked());
    EXPECT_FALSE(f.ProgressBar1->isVisible());
    EXPECT_EQ(f.Combo1->Text(), "Low");
    EXPECT_EQ(f.Combo1->ListCount(), 2);
    EXPECT_EQ(f.Combo1->List(0), "High");
    EXPECT_EQ(f.Text1->Text(), "60");
    EXPECT_EQ(f.Text2->Text(), "2");
}

TEST_F(MainWindow, ControlsShowTheirCaptions) {
    auto& f = frmMain.get();
    EXPECT_EQ(f.Frame1->Caption(), " Radiograph ");
    EXPECT_EQ(f.Frame2->Caption(), " Optical image ");
    EXPECT_EQ(f.Frame3->Caption(), " Window ");
    EXPECT_EQ(f.Command1->Caption(), "Import radiograph");
    EXPECT_EQ(f.Command2->Caption(), "Import XRF data");
    EXPECT_EQ(f.Command3->Caption(), "Import core photo");
    EXPECT_EQ(f.Command4->Caption(), "Quit");
    EXPECT_EQ(f.Command5->Caption(), "Save as");
    EXPECT_EQ(f.Command7->Caption(), "Show tools");
    EXPECT_EQ(f.Label7(0)->Caption(), "To (L):  ");
    EXPECT_EQ(f.Label7(1)->Caption(), "From (R):  ");
    EXPECT_EQ(f.Label8->Caption(), "Pointer:  ");
    EXPECT_EQ(f.Label10->Caption(), "Monitor resolution:");
    EXPECT_EQ(f.Label5->Caption(), "Stepping:");
    EXPECT_EQ(f.Label6->Caption(), "micron");
    EXPECT_EQ(f.Check1->Caption(), "Colour");
    EXPECT_EQ(f.Label4(0)->Caption(), "Brightness");
    EXPECT_EQ(f.Label4(1)->Caption(), "Contrast");
}

TEST_F(MainWindow, IsADrawnWindowWithTheLogoAndCannotBeResized) {
    auto& f = frmMain.get();
    f.Show();
    const QSize size = f.size();
    f.resize(size + QSize(100, 100));
    EXPECT_EQ(f.size(), size);
    const QImage shot = f.grab().toImage();
    // The logo's laminae: some light and some dark pixels inside Image1.
    const QRect logo = f.Image1->geometry().translated(f.client()->pos());
    int dark = 0, light = 0;
    for (int x = logo.left(); x < logo.right(); ++x) {
        const QColor c = shot.pixelColor(x, logo.top() + 3);
        (c.lightness() < 100 ? dark : light) += 1;
    }
    EXPECT_GT(dark, 10);
    EXPECT_GT(light, 10);
}

TEST_F(MainWindow, QuitMenuAndCloseBoxEndTheProgramWithoutAsking) {
    auto& f = frmMain.get();
    f.Show();
    f.mnuQuit->trigger();
    EXPECT_TRUE(app::programEnded());
    EXPECT_FALSE(f.isVisible());
    app::resetProgramEnded();
    f.Show();
    f.close();
    EXPECT_TRUE(app::programEnded());
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(MainWindow, ThereIsOneMainWindowCreatedOnFirstUse) {
    EXPECT_FALSE(frmMain.exists());
    ui::Form* first = &frmMain.get();
    EXPECT_EQ(first, &frmMain.get());
    EXPECT_TRUE(frmMain->isLoaded());
}
