#include <QTest>

#include "AppFixture.h"
#include "SynthCore.h"
#include "curves/windows/Curves.h"
#include "radiograph/windows/Rendering.h"

using app::curveWindow;
using core::Variant;
using ui::ScriptedDialogs;

namespace {
constexpr QRgb kPointer = 0xFFFFC800;  // RGB(255, 200, 0)
constexpr QRgb kRed = 0xFFFF0000;      // level 1
}  // namespace

// A synthetic radiograph of 400 x 60 pixels imported as a user would.
class CurvesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        installDefaultSettings();
        const synth::VarvedCore core = synth::makeVarvedCore(400, 60);
        const QString path = dir.filePath("core.bmp");
        ASSERT_TRUE(core.radiograph.convertToFormat(QImage::Format_RGB888).save(path, "BMP"));
        start();
        dialogs->answerOpen(path);
        app::frmMain->Command1->click();
        ASSERT_EQ(app::DataLength, 400);
        // The section: the whole radiograph (display columns 0..400).
        for (ui::Shape* shape : {app::frmPreview->Shape1, app::frmRawImage->Shape1}) {
            shape->place(0, shape->Top(), app::frmPreview->Image2->Width(), shape->Height());
        }
        app::RenderSection();
        ASSERT_EQ(app::ViewLeft, 0);
        ASSERT_EQ(app::ViewRight, 400);
        app::Saved = true;
    }
    ui::PictureBox* plot(int k) { return curveWindow(k).Picture1; }
    // The plot's pixel column that shows data position p between redraws (one column per pixel).
    int columnOf(long p) { return static_cast<int>(app::DataLength - p - app::ViewLeft); }
    // ... and in a full redraw, which spreads ViewLeft..ViewRight over the plot's whole width (the
    // plot is two pixels wider than the section).
    int redrawnColumnOf(long p) {
        const double x = app::DataLength - p - app::ViewLeft;
        return qRound(x * plot(1)->surface().widthPixels() / (app::ViewRight - app::ViewLeft));
    }
    QRgb shown(int k, int column, int row = 5) { return plot(k)->Image().pixel(column, row); }
    // A right click on a plot: the pop-up opens at the press; the test closes it before releasing.
    void rightClick(int k, QPoint pos) {
        QTest::mousePress(plot(k), Qt::RightButton, Qt::NoModifier, pos);
        EXPECT_EQ(curveWindow(k).lastPopup(), curveWindow(k).mnuRB);
        curveWindow(k).mnuRB->menu()->hide();
        QTest::mouseRelease(plot(k), Qt::RightButton, Qt::NoModifier, pos);
    }
    // Moves the mouse over window k's plot to the column of position p and presses a key there.
    void pressAt(int k, long p, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        curveWindow(k).Show();
        hover(plot(k), QPoint(columnOf(p), 30));  // the middle: the value boxes sit in the corners
        QTest::keyClick(plot(k), key, modifiers);
    }
    // A small table as the XRF import leaves it: Grey and Fe, values 10 * (position mod 7).
    void loadXrfColumns() {
        app::XrfColumnCount = 9;
        app::Profile.redim(0, 9, 0, app::DataLength);
        app::Profile(0, 0) = Variant("Grey");
        app::Profile(1, 0) = Variant("Fe");
        app::CurveValue.redim(0, 6, 0, app::DataLength);
        for (long i = 1; i <= app::DataLength; ++i) {
            app::Profile(0, i) = Variant(core::Integer(10 * (i % 7)));
            app::Profile(1, i) = Variant(10.0 * (i % 7));
        }
        for (int k = 1; k <= 6; ++k) {
            curveWindow(k).Combo1->AddItem("Grey");
            curveWindow(k).Combo1->AddItem("Fe");
            curveWindow(k).Combo1->setText(k == 2 ? "Fe" : "Grey");
            curveWindow(k).Text1->setText("100");
            curveWindow(k).Text2->setText("0");
        }
        app::XrfLoaded = true;
    }
};

TEST_F(CurvesTest, KeyOnePlacesALevelOneMarkerInAllSixPlots) {
    const long p = 120;
    pressAt(1, p, Qt::Key_1);
    EXPECT_TRUE(app::YearMark(p) == 1);
    EXPECT_EQ(app::YearMark(p).type(), Variant::Type::Integer);
    EXPECT_FALSE(app::Saved);
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(plot(k)->Picture().pixel(columnOf(p), 5), kRed) << k;  // committed at once
        EXPECT_EQ(plot(k)->Picture().pixel(columnOf(p), 55), kRed) << k;
    }
    // After a full redraw the marker is drawn over the whole height in its level's colour.
    app::RedrawGreyCurve();
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(shown(k, redrawnColumnOf(p), 30), kRed) << k;
    EXPECT_EQ(app::frmActiveYears->Label1(1)->Caption(), "0");  // counts come with XRF data
}

// The section chosen elsewhere than the right-hand end: the rectangle is moved in the preview and
// the raw image window as their drag does, and the section re-rendered.
class CurvesInSectionTest : public CurvesTest, public ::testing::WithParamInterface<int> {
  protected:
    void chooseSection(int firstColumn, int columns) {
        const double twipsPerColumn = app::frmPreview->Picture2->Width() / app::DataLength;
        for (ui::Shape* shape : {app::frmPreview->Shape1, app::frmRawImage->Shape1}) {
            shape->place(firstColumn * twipsPerColumn, shape->Top(), columns * twipsPerColumn,
                         shape->Height());
        }
        app::RenderSection();
    }
};

TEST_P(CurvesInSectionTest, EveryDigitKeyMarksThePositionUnderThePointer) {
    chooseSection(GetParam(), 150);
    ASSERT_NEAR(app::ViewLeft, GetParam(), 1);
    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                              Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};
    int column = 5;
    for (int window : {1, 5}) {
        for (const Qt::KeyboardModifiers pad : {Qt::NoModifier, Qt::KeypadModifier}) {
            for (int level = 1; level <= 9; ++level) {
                column += 3;
                const long p = app::DataLength - app::ViewLeft - column;  // the data under the pointer
                curveWindow(window).Show();
                hover(plot(window), QPoint(column, 30));
                QTest::keyClick(plot(window), digits[level - 1], pad);
                ASSERT_TRUE(app::YearMark(p) == level) << "window " << window << ", level " << level;
                EXPECT_TRUE(app::YearMark(p + 1) == "---" && app::YearMark(p - 1) == "---");
                EXPECT_EQ(plot(2)->Picture().pixel(column, 5),
                          core::toQRgb(app::LevelColour(level).toDouble()))
                    << "level " << level;
            }
        }
    }
    app::RedrawGreyCurve();  // a full redraw puts each marker back where it was placed
    for (int press = 0; press < 36; ++press) {
        const long p = app::DataLength - app::ViewLeft - (8 + 3 * press);
        EXPECT_EQ(shown(3, redrawnColumnOf(p), 30), core::toQRgb(app::LevelColour(press % 9 + 1).toDouble()))
            << press;
    }
}

INSTANTIATE_TEST_SUITE_P(SectionStart, CurvesInSectionTest, ::testing::Values(0, 100, 237));

TEST_F(CurvesTest, KeypadAndMainKeyboardSevenBothPlaceLevelSeven) {
    pressAt(1, 100, Qt::Key_7);
    pressAt(1, 110, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_TRUE(app::YearMark(100) == 7);
    EXPECT_TRUE(app::YearMark(110) == 7);
    EXPECT_EQ(shown(3, columnOf(110)), core::toQRgb(0xFF0080));  // level 7's colour, violet blue
    app::RedrawGreyCurve();
    EXPECT_EQ(shown(3, redrawnColumnOf(110)), core::toQRgb(0xFF0080));
}

TEST_F(CurvesTest, ZeroPlacesNothingButCountsAsAChange) {
    pressAt(1, 100, Qt::Key_0);
    EXPECT_TRUE(app::YearMark(100) == "---");
    EXPECT_FALSE(app::Saved);
    EXPECT_TRUE(app::UndoPosition(0) == -9999);
}

TEST_F(CurvesTest, UndoTakesBackPlacementsNewestFirst) {
    pressAt(1, 150, Qt::Key_1);
    pressAt(1, 150, Qt::Key_1);  // twice at the same place: two entries
    pressAt(1, 150, Qt::Key_3);  // level 3 over level 1
    EXPECT_TRUE(app::YearMark(150) == 3);
    app::UndoMarker();
    EXPECT_TRUE(app::YearMark(150) == 1);
    app::UndoMarker();
    EXPECT_TRUE(app::YearMark(150) == 1);
    app::UndoMarker();
    EXPECT_TRUE(app::YearMark(150) == "---");
    app::UndoMarker();  // nothing left: a beep
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Beep).size(), 1u);
    EXPECT_NE(shown(1, redrawnColumnOf(150)), kRed);
}

TEST_F(CurvesTest, TheFiftySecondPlacementPushesTheOldestOut) {
    for (int i = 0; i < 52; ++i) {
        app::PointerX = static_cast<long>(app::ViewLeft + 10 + i);
        app::SetMarker(49);
    }
    const long oldest = app::DataLength - (app::ViewLeft + 10);
    for (int i = 0; i < 51; ++i) app::UndoMarker();
    EXPECT_TRUE(app::YearMark(oldest) == 1);  // its entry was lost
    EXPECT_TRUE(app::YearMark(oldest - 1) == "---");
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Beep).empty());
    app::UndoMarker();
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Beep).size(), 1u);
}

TEST_F(CurvesTest, CtrlZThroughTheWindowSystemUndoesOnce) {
    pressAt(1, 200, Qt::Key_1);
    pressAt(1, 201, Qt::Key_2);
    curveWindow(1).Show();
    curveWindow(1).activateWindow();
    plot(1)->setFocus();
    QTest::keyPress(curveWindow(1).windowHandle(), Qt::Key_Control);
    QTest::keyClick(curveWindow(1).windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyRelease(curveWindow(1).windowHandle(), Qt::Key_Control);
    EXPECT_TRUE(app::YearMark(201) == "---");
    EXPECT_TRUE(app::YearMark(200) == 1);  // undone once, not twice
    EXPECT_FALSE(app::CtrlDown);
}

namespace {
// Every tick and enabled state that switching marking on and off touches.
std::vector<bool> activationEntries() {
    std::vector<bool> state{app::PointerActive, app::frmMain->mnuActive->Checked(),
                            app::frmCrop->Line1->isVisibleTo(app::frmCrop.operator->())};
    for (int k = 1; k <= 6; ++k) {
        app::CurveForm& w = curveWindow(k);
        state.push_back(w.mnuActivate->Checked());
        for (ui::MenuItem* m : {w.mnuOneYear, w.mnuHalfYear, w.mnuLamina, w.mnuNote, w.mnuUndo, w.mnuDelete,
                                w.mnuLevel(1), w.mnuLevel(5), w.mnuLevel2(7)}) {
            state.push_back(m->Enabled());
        }
    }
    return state;
}
}  // namespace

TEST_F(CurvesTest, ActivateAndCtrlASwitchMarkingOffAndBackOn) {
    const std::vector<bool> on = activationEntries();
    ASSERT_TRUE(app::PointerActive);

    // The pop-up menu's "Activate", as a user chooses it: in window 1, whose tick decides the
    // direction for all six, then in window 3.
    for (int k : {1, 3}) {
        rightClick(k, QPoint(columnOf(100), 30));
        curveWindow(k).mnuActivate->trigger();
        EXPECT_FALSE(app::PointerActive) << k;
        for (int w = 1; w <= 6; ++w) {
            EXPECT_FALSE(curveWindow(w).mnuActivate->Checked()) << w;
            EXPECT_FALSE(curveWindow(w).mnuActivate->action()->isChecked()) << w;  // the tick shown
            EXPECT_FALSE(curveWindow(w).mnuOneYear->Enabled()) << w;
            EXPECT_TRUE(curveWindow(w).mnuLevel2(7)->Enabled()) << w;  // "(more)" is not touched
        }
        EXPECT_FALSE(app::frmMain->mnuActive->Checked());
        pressAt(k, 100, Qt::Key_1);
        EXPECT_TRUE(app::YearMark(100) == "---");  // marking is off
        rightClick(k, QPoint(columnOf(100), 30));
        curveWindow(k).mnuActivate->trigger();
        EXPECT_EQ(activationEntries(), on) << k;
    }
    EXPECT_EQ(activationEntries(), on);

    // Ctrl+A through the window system: one press switches once.
    curveWindow(1).Show();
    curveWindow(1).activateWindow();
    plot(1)->setFocus();
    auto ctrlA = [&] {
        QTest::keyPress(curveWindow(1).windowHandle(), Qt::Key_Control);
        QTest::keyClick(curveWindow(1).windowHandle(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyRelease(curveWindow(1).windowHandle(), Qt::Key_Control);
    };
    ctrlA();
    EXPECT_FALSE(app::PointerActive);
    EXPECT_FALSE(curveWindow(1).mnuActivate->Checked());
    ctrlA();
    EXPECT_EQ(activationEntries(), on);
    pressAt(1, 120, Qt::Key_1);
    EXPECT_TRUE(app::YearMark(120) == 1);
}

TEST_F(CurvesTest, DeleteClearsThePositionAndBothNeighbours) {
    for (long p : {59, 60, 61, 62}) {
        app::YearMark(p) = Variant(core::Integer(1));
        app::MarkerLabel(p) = "#T";
        app::MarkerNote(p) = "#n";
    }
    rightClick(2, QPoint(columnOf(60), 10));
    curveWindow(2).mnuDelete->trigger();
    for (long p : {59, 60, 61}) {
        EXPECT_TRUE(app::YearMark(p) == "---") << p;
        EXPECT_EQ(app::MarkerLabel(p), "---");
        EXPECT_EQ(app::MarkerNote(p), "---");
    }
    EXPECT_TRUE(app::YearMark(62) == 1);
    EXPECT_TRUE(app::UndoPosition(0) == -9999);  // deleting is not undoable
}

TEST_F(CurvesTest, DeletingAtPositionOneKeepsTheColumnTitles) {
    app::YearMark(1) = Variant(core::Integer(2));
    app::ClickX = Variant(static_cast<double>(app::DataLength - 1 - app::ViewLeft + app::ViewLeft));
    app::ClickX = Variant(static_cast<double>(app::DataLength - 1));
    app::DeleteMarker();
    EXPECT_TRUE(app::YearMark(1) == "---");
    EXPECT_TRUE(app::YearMark(0) == "Year");
    EXPECT_EQ(app::MarkerLabel(0), "Lamina");
}

TEST_F(CurvesTest, ClicksBeyondTheDataAreRefused) {
    app::ClickX = Variant(static_cast<double>(app::DataLength + 5));  // position below 1
    app::SetMarker(1);
    app::DeleteMarker();
    EXPECT_TRUE(app::Saved);
    EXPECT_TRUE(app::UndoPosition(0) == -9999);
    EXPECT_TRUE(app::YearMark(0) == "Year");
    // An undo entry from a longer radiograph is dropped with a beep.
    app::UndoPosition(0) = Variant(5000.0);
    app::UndoValue(0) = Variant("---");
    app::UndoMarker();
    EXPECT_TRUE(app::UndoPosition(0) == -9999);
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Beep).size(), 1u);
}

TEST_F(CurvesTest, ACrossHairClickPlacesLevelOneAndMenusPlaceTheirLevels) {
    QTest::mouseClick(plot(4), Qt::LeftButton, Qt::NoModifier, QPoint(columnOf(90), 20));
    EXPECT_TRUE(app::YearMark(90) == 1);
    rightClick(6, QPoint(columnOf(95), 20));
    curveWindow(6).mnuLevel2(8)->trigger();  // "(more)" levels work in every window
    EXPECT_TRUE(app::YearMark(95) == 8);
    curveWindow(6).mnuHalfYear->trigger();
    EXPECT_TRUE(app::YearMark(95) == 3);
}

TEST_F(CurvesTest, MarkersAtPositionOneAreStoredButNotDrawn) {
    app::PointerX = app::DataLength - 1;
    app::SetMarker(49);
    EXPECT_TRUE(app::YearMark(1) == 1);
    app::RedrawGreyCurve();
    for (int c = redrawnColumnOf(2); c < plot(1)->surface().widthPixels(); ++c)
        EXPECT_NE(shown(1, c, 30), kRed) << c;
}

TEST_F(CurvesTest, LabelsCoverMarkersAndNotesTickTheLowestPart) {
    app::YearMark(70) = Variant(core::Integer(1));
    app::MarkerLabel(70) = "#tephra";
    app::MarkerNote(80) = "#clay";
    app::MarkerLabel(85) = "#---";  // emptied: no label
    app::RedrawGreyCurve();
    EXPECT_EQ(shown(2, redrawnColumnOf(70), 10), 0xFF00FFFFu);  // cyan over the red marker
    EXPECT_EQ(shown(2, redrawnColumnOf(80), 55), 0xFFFFFFFFu);  // white tick at the bottom
    EXPECT_NE(shown(2, redrawnColumnOf(80), 5), 0xFFFFFFFFu);   // ... only the lowest 30 %
    EXPECT_NE(shown(2, redrawnColumnOf(85), 10), 0xFF00FFFFu);
}

TEST_F(CurvesTest, ThePointerLineIsInWindowOneOnlyBeforeXrfData) {
    curveWindow(2).Show();
    hover(plot(2), QPoint(columnOf(77), 10));
    EXPECT_EQ(app::PointerX, app::DataLength - 77);
    EXPECT_EQ(shown(1, columnOf(77)), kPointer);
    EXPECT_NE(shown(2, columnOf(77)), kPointer);
    // Moving elsewhere removes it; the next pointer line replaces it.
    hover(plot(1), QPoint(columnOf(60), 10));
    EXPECT_NE(shown(1, columnOf(77)), kPointer);
    app::frmMain->client()->setMouseTracking(true);
    hover(app::frmMain->client(), QPoint(5, 5));
    EXPECT_NE(shown(1, columnOf(60)), kPointer);
    EXPECT_EQ(app::frmMain->Label9->Caption(), "---");
}

TEST_F(CurvesTest, WithXrfDataThePointerIsInAllSixWindowsWhileMarkingIsActive) {
    loadXrfColumns();
    app::RedrawCurves();
    app::frmMain->mnuShowAll_Click();
    hover(plot(5), QPoint(columnOf(33), 30));
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(shown(k, columnOf(33)), kPointer) << k;
    app::ToggleActivation();  // marking off: no pointer lines
    EXPECT_FALSE(app::PointerActive);
    hover(plot(5), QPoint(columnOf(40), 30));
    for (int k = 1; k <= 6; ++k) EXPECT_NE(shown(k, columnOf(40)), kPointer) << k;
    QTest::keyClick(plot(5), Qt::Key_1);
    EXPECT_TRUE(app::YearMark(40) == "---");
    EXPECT_FALSE(app::Saved);
    app::ToggleActivation();
    EXPECT_TRUE(curveWindow(3).mnuOneYear->Enabled());
}

TEST_F(CurvesTest, CurvesLeaveGapsAtMissingValuesAndShowTheirColumns) {
    loadXrfColumns();
    app::Profile(1, 200) = Variant("n/a");  // a cell without a number is a missing value
    app::RedrawCurves();
    EXPECT_EQ(app::CurveValue(2, 200), -9999.0f);
    EXPECT_EQ(curveWindow(2).Caption(), "2: Fe");
    EXPECT_EQ(curveWindow(1).Caption(), "1: Grey");
    // Window 2 plots 10 * (p mod 7) from 100 (top) to 0 (bottom): find the curve in a column.
    auto curveRows = [&](int k, long p) {
        int rows = 0;
        const QImage image = plot(k)->Image();
        for (int y = 0; y < image.height(); ++y) rows += image.pixel(redrawnColumnOf(p), y) == 0xFF00FF00u;
        return rows;
    };
    EXPECT_GT(curveRows(2, 150), 0);
    // Position 200 is missing: the segments into and out of it are not drawn; the neighbours keep
    // the ends of their other segments.
    EXPECT_EQ(curveRows(2, 200), 0);
    EXPECT_GT(curveRows(2, 199), 0);
    EXPECT_GT(curveRows(3, 200), 0);  // the other windows' values are all there
}

TEST_F(CurvesTest, AnUnknownElementShowsGreyAndEqualRangesDrawWithTopHundred) {
    loadXrfColumns();
    curveWindow(3).Combo1->setText("Zr");
    curveWindow(4).Check1->setValue(1);
    curveWindow(4).Combo2->AddItem("1");
    curveWindow(4).Combo2->setText("1");
    curveWindow(5).Text1->setText("5");
    curveWindow(5).Text2->setText("5");
    app::RedrawCurves();
    EXPECT_EQ(curveWindow(3).Caption(), "3: Grey");
    EXPECT_EQ(curveWindow(4).Caption(), "4: Grey / 1");
    EXPECT_EQ(curveWindow(5).Text1->Text(), "5");  // the box keeps its text
}
