#include <QTest>

#include "AppFixture.h"

using app::curveWindow;
using core::Variant;

namespace {
QStringList captions(ui::MenuItem* menu) {
    QStringList result;
    for (QAction* a : menu->menu()->actions()) result << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return result;
}
}  // namespace

// The texts users know the program by, as the windows show them: captions of windows and
// controls, and every menu with its entries and separators in order.
TEST_F(AppTest, WindowsControlsAndMenusShowTheirTexts) {
    installDefaultSettings();
    app::MainForm& f = start();
    auto menu = [](ui::MenuItem* m) { return captions(m).join(QLatin1Char('|')); };
    QStringList bar;
    for (QAction* a : f.menuBar()->actions()) bar << a->text();
    const std::pair<QString, QString> texts[] = {
        {app::frmPreview->Caption(), "Preview"},
        {app::frmRawImage->Caption(), "Original image"},
        {app::frmCurve1->Caption(), "1: Grey scale"},
        {curveWindow(5).Caption(), "Curve-5"},
        {app::frmActiveYears->Caption(), "Active years"},
        {app::frmScale->Caption(), "10 mm"},
        {app::frmElastic->Caption(), "Elastic scale"},
        {app::frmPhoto->Caption(), "Core photo"},
        {app::frmCrop->Caption(), "Core photo (close up)"},
        {app::frmLaminaName->Caption(), "Lamina"},
        {app::frmNote->Caption(), "Note"},
        {app::frmTest->Caption(), "Staff only"},
        {f.Frame1->Caption(), " Radiograph "},
        {f.Frame2->Caption(), " Optical image "},
        {f.Frame3->Caption(), " Window "},
        {f.Command1->Caption(), "Import radiograph"},
        {f.Command2->Caption(), "Import XRF data"},
        {f.Command3->Caption(), "Import core photo"},
        {f.Command4->Caption(), "Quit"},
        {f.Command5->Caption(), "Save as"},
        {f.Command7->Caption(), "Show tools"},
        {f.Label7(0)->Caption(), "To (L):  "},
        {f.Label7(1)->Caption(), "From (R):  "},
        {f.Label8->Caption(), "Pointer:  "},
        {f.Label10->Caption(), "Monitor resolution:"},
        {f.Label5->Caption(), "Stepping:"},
        {f.Label6->Caption(), "micron"},
        {f.Check1->Caption(), "Colour"},
        {f.Label4(0)->Caption(), "Brightness"},
        {f.Label4(1)->Caption(), "Contrast"},
        {bar.join(QLatin1Char('|')), "File|Tool|Setting|?"},
        {menu(f.mnuFile),
         "Import radiograph|Import XRF data|Import optical image|-|Save|Save as|Save summary|Save chronology|-|Quit"},
        {menu(f.mnuTool), "Show scale|Show elastic scale|-|Show all|Align forms|-|Active pointer"},
        {menu(f.mnuSetting), "Colour setting|-|Default"},
        {menu(f.mnuColourSetting),
         "Level-1|Level-2|Level-3|Level-4|Level-5|Level-6|Level-7|Level-8|Level-9|-|Default"},
        {menu(f.mnuQuestion), "About Stratalyser"},
    };
    for (const auto& [shown, expected] : texts) EXPECT_EQ(shown, expected);
    EXPECT_EQ(&curveWindow(4), &app::frmCurve4.get());
    EXPECT_THROW(curveWindow(7), core::SubscriptError);
    EXPECT_THROW(f.mnuLevelSetting(0), core::SubscriptError);
}

TEST_F(AppTest, CurveWindowsShareOneMenuAndWindowsFourToSixHaveARatio) {
    installDefaultSettings();
    start();
    app::CurveForm& w1 = app::frmCurve1.get();
    EXPECT_EQ(captions(w1.mnuRB), (QStringList{"Moving average",
                                               "-",
                                               "One year",
                                               "Half year",
                                               "Level-1",
                                               "Level-2",
                                               "Level-3",
                                               "Level-4",
                                               "Level-5",
                                               "(more)",
                                               "-",
                                               "Labelled lamina",
                                               "Note",
                                               "-",
                                               "Undo",
                                               "Delete",
                                               "-",
                                               "Activate",
                                               "-",
                                               "Hide others",
                                               "Show all",
                                               "Show 1-3",
                                               "Show 4-6",
                                               "Align forms",
                                               "-",
                                               "Flip vertical"}));
    EXPECT_EQ(captions(w1.mnuRunAve), (QStringList{"<None>", "0 : 33 : 33 : 33 : 0", "0 : 25 : 50 : 25 : 0",
                                                   "20 : 20 : 20 : 20 : 20", "10 : 20 : 40 : 20 : 10"}));
    EXPECT_EQ(captions(w1.mnuMore), (QStringList{"Level-6", "Level-7", "Level-8", "Level-9"}));
    EXPECT_TRUE(w1.mnuNone->Checked());
    EXPECT_FALSE(w1.mnuFlat5->Checked());
    EXPECT_TRUE(w1.mnuActivate->Checked());
    EXPECT_EQ(w1.mnuUndo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(w1.mnuActivate->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_FALSE(w1.mnuShowAll->Enabled());               // window 1 alone is in use before the XRF import
    EXPECT_TRUE(app::frmCurve2->mnuShowAll->Enabled());  // in the other windows from the start
    EXPECT_EQ(app::frmCurve2->Combo2, nullptr);
    for (int k = 4; k <= 6; ++k) {
        ASSERT_NE(curveWindow(k).Check1, nullptr);
        EXPECT_EQ(curveWindow(k).Check1->Caption(), "Ratio");
        EXPECT_FALSE(curveWindow(k).Combo2->Visible());
    }
    EXPECT_FALSE(w1.Combo1->Visible());
    EXPECT_EQ(w1.Line1.upper(), 1);
    EXPECT_NE(w1.Label1, nullptr);
    // The pop-up opens without waiting for a choice.
    w1.Show();
    w1.PopupMenu(w1.mnuRB);
    EXPECT_TRUE(w1.mnuRB->menu()->isVisible());
    w1.mnuRB->menu()->hide();
}

TEST_F(AppTest, ActiveYearsWindowIsLaidOutByLevel) {
    installDefaultSettings();
    start();
    app::ActiveYearsForm& f = app::frmActiveYears.get();
    EXPECT_EQ(f.Command1->Caption(), "More");
    EXPECT_EQ(f.Height(), 1800);
    EXPECT_EQ(f.Command1->Top(), 1800 - 530);
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(f.levelLabels(k)(0)->Caption(), QStringLiteral("Level-%1: ").arg(k));
        EXPECT_EQ(f.levelLabels(k)(1)->Caption(), "0");
        EXPECT_EQ(f.levelLabels(k)(0)->Top(), 60 + 240 * (k - 1));
        EXPECT_EQ(f.Shape1(k)->Top(), 120 + 240 * (k - 1));
        EXPECT_EQ(f.Shape1(k)->Width(), 135);
    }
    EXPECT_FALSE(f.Label6(0)->Visible());
}

TEST_F(AppTest, NoteDialogOffersItsLibrary) {
    app::NoteForm& note = app::frmNote.get();
    EXPECT_EQ(note.Combo1->ListCount(), 8);
    EXPECT_EQ(note.Combo1->List(0), "--- Select ---");
    EXPECT_EQ(note.Combo1->List(6), "Tephra top");
    EXPECT_EQ(note.Combo1->Text(), "---Select---");
    EXPECT_EQ(note.Label1->Caption(), "Library: ");
    note.Text1->setText("my own words");
    note.Combo1->setListIndex(0);  // "--- Select ---" replaces nothing
    EXPECT_EQ(note.Text1->Text(), "my own words");
    note.Combo1->setListIndex(6);
    EXPECT_EQ(note.Text1->Text(), "Tephra top");
    EXPECT_EQ(app::frmLaminaName->Label1->Caption(), "Lamina label:");
    EXPECT_EQ(app::frmLaminaName->Label2->Caption(), "Note:");
}

TEST_F(AppTest, PointerReadOutOverTheRadiographShowsPositionAndColour) {
    installDefaultSettings();
    app::MainForm& main = start();
    QImage radiograph(40, 10, QImage::Format_RGB32);
    radiograph.fill(QColor(10, 20, 30));
    main.Picture1->setPicture(radiograph);
    QTest::mouseMove(main.Picture1, QPoint(5, 7));
    EXPECT_EQ(main.Label2(0)->Caption(), "5");
    EXPECT_EQ(main.Label2(1)->Caption(), "7");
    EXPECT_EQ(main.Shape0->FillColour(), core::rgb(10, 20, 30));
    main.Picture1_MouseMove(0, 0, 12.345, 99.0);    // below the picture: black
    EXPECT_EQ(main.Label2(0)->Caption(), "12.34");  // rounded to 2 decimals, halves to even
    EXPECT_EQ(main.Shape0->FillColour(), core::rgb(0, 0, 0));
}

TEST_F(AppTest, MonitorResolutionSetsTwipsPerPixel) {
    installDefaultSettings();
    app::MainForm& main = start();
    main.Combo1->setListIndex(0);  // "High"
    EXPECT_EQ(app::TwipsPerPixel, 12);
    main.Combo1->setListIndex(1);
    EXPECT_EQ(app::TwipsPerPixel, 15);
}

TEST_F(AppTest, AlignFormsStacksBothColumnsUnderTheirTopWindows) {
    installDefaultSettings();
    app::MainForm& main = start();
    curveWindow(1).Move(1000, 2000, 6000, 1500);
    curveWindow(4).Move(8000, 2500, 5000, 1200);
    curveWindow(2).Move(50, 60, 6000, 900);
    curveWindow(6).Move(70, 80, 5000, 999);
    main.mnuAlign_Click();
    EXPECT_EQ(curveWindow(2).Left(), 1000);
    EXPECT_EQ(curveWindow(2).Top(), 3500);
    EXPECT_EQ(curveWindow(3).Top(), 5000);  // the top window's height for both
    EXPECT_EQ(curveWindow(5).Left(), 8000);
    EXPECT_EQ(curveWindow(6).Top(), 2500 + 2 * 1200);
    EXPECT_EQ(curveWindow(6).Height(), 999);  // sizes unchanged
}

TEST_F(AppTest, ArrangeCurveWindowsUsesStoredPositionsOrTwoColumns) {
    auto table = shippedSettings();
    table(3, 20) = Variant(7777.0f);  // frmCurve5.Top stored
    writeSettings(table);
    start();
    app::CurveForm& c1 = curveWindow(1);
    c1.Move(2000, 1000, 6000, 1500);
    const double secondHeight = curveWindow(2).Height();
    app::ArrangeCurveWindows();
    EXPECT_EQ(curveWindow(2).Top(), 2500);
    EXPECT_EQ(curveWindow(2).Left(), 2000);
    EXPECT_EQ(curveWindow(3).Top(), 2500 + secondHeight);  // window 2's height before it takes window 1's
    EXPECT_EQ(curveWindow(3).Height(), 1500);
    EXPECT_EQ(curveWindow(3).Width(), 6000);
    EXPECT_EQ(curveWindow(4).Top(), 1000);
    EXPECT_EQ(curveWindow(4).Left(), 8000);  // beside window 1
    EXPECT_EQ(curveWindow(5).Top(), 7777);
    EXPECT_EQ(curveWindow(6).Top(), 7777 + curveWindow(5).Height());
    // A window 1 reaching past the screen puts the second column 150 twips inside it.
    c1.Move(15000, 1000, 6000, 1500);
    app::ArrangeCurveWindows();
    EXPECT_EQ(curveWindow(4).Left(), 1280 * 15 - 150);
}

TEST_F(AppTest, ShowAllAboutAndStaffWindows) {
    installDefaultSettings();
    app::MainForm& main = start();
    main.mnuShowAll_Click();
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(curveWindow(k).isVisible()) << k;
    main.mnuAbout->trigger();
    EXPECT_TRUE(app::frmAbout->isVisible());
    EXPECT_EQ(app::frmAbout->Label8->Caption(), "Stratalyser 2.1");
    QTest::mouseDClick(main.Image1, Qt::LeftButton);
    EXPECT_TRUE(app::frmTest->isVisible());
}
