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

}  // namespace

TEST_F(MainWindow, StartsWithOnlyTheRadiographImportAndQuitting) {
    auto& f = frmMain.get();
    f.Show();
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_TRUE(f.Command4->isEnabled());
    EXPECT_TRUE(f.mnuOpenRadio->Enabled());
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.Command2, f.Command3, f.Command5, f.Command7, f.Frame2, f.Frame3, f.Label7(0), f.Label7(1),
             f.Label8, f.Label9, f.Text3(0), f.Text3(1), f.Slider1(0), f.Slider1(1)}) {
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    }
    for (ui::MenuItem* m : {f.mnuOpenXRF, f.mnuOpenPhoto, f.mnuSave, f.mnuSaveAs, f.mnuSummary, f.mnuScale,
                            f.mnuElastic, f.mnuShowAll, f.mnuAlign, f.mnuActive}) {
        EXPECT_FALSE(m->Enabled()) << m->Caption().toStdString();
    }
    EXPECT_FALSE(f.ProgressBar1->isVisible());
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
