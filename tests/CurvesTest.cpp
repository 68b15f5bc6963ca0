// Marking laminae in the curve windows with the keys, the mouse and the pop-up menu, taking
// markers back, and the pointer line and curves the plots show.

#include <QRegularExpression>

#include "AppFixture.h"

using app::curveWindow;
using core::Variant;

namespace {
constexpr QRgb kPointer = 0xFFFFC800;  // RGB(255, 200, 0)
constexpr QRgb kRed = 0xFFFF0000;      // level 1
constexpr QRgb kCurve = 0xFF00FF00;

QRgb levelColour(int level) {
    return core::toQRgb(app::LevelColour(level).toDouble());
}
}  // namespace

// A synthetic radiograph of 400 x 60 pixels imported as a user would; the section is all of it.
class CurvesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(400);
        placeSection();
        ASSERT_TRUE(app::ViewLeft == 0 && app::ViewRight == 400);
        app::Saved = true;
    }
    // Keys with Ctrl held (and Shift, when given), through the window system as a user types them.
    void ctrlKey(int k, Qt::Key key, Qt::KeyboardModifiers also = Qt::NoModifier) {
        curveWindow(k).Show();
        curveWindow(k).activateWindow();
        plot(k)->setFocus();
        QTest::keyPress(curveWindow(k).windowHandle(), Qt::Key_Control);
        QTest::keyClick(curveWindow(k).windowHandle(), key, Qt::ControlModifier | also);
        QTest::keyRelease(curveWindow(k).windowHandle(), Qt::Key_Control);
    }
    // A scanner table of the core imported by the button: Fe is 10 * (position mod 7), but for
    // "n/a" at position 200.
    void importFeTable() {
        writeFile(dir.filePath("fe.csv"), samples::scannerTable(400, [](int f, int p) {
                      if (f != 10) return QByteArray::number(f);
                      return p == 200 ? QByteArray("n/a") : QByteArray::number(10 * (p % 7));
                  }));
        importXrf(dir.filePath("fe.csv"));
        ASSERT_TRUE(app::XrfLoaded);
    }
};

// Sections that start at column 0 and further in: the rectangle is moved in the preview and the raw
// image window as their drag does, and the section re-rendered.
class MarkersInSectionTest : public CurvesTest, public ::testing::WithParamInterface<int> {};

// Every way of placing a marker, in a section starting at the parameter's column: the digits of
// both keyboards in two windows, zero, a cross-hair click, the pop-up's levels. The marker lands
// at the position under the pointer, committed in every plot in its level's colour, and a full
// redraw puts it back where it was placed.
TEST_P(MarkersInSectionTest, EveryKeyClickAndMenuPlacesItsLevelUnderThePointer) {
    const double twipsPerColumn = app::frmPreview->renderSurface->Width() / app::DataLength;
    placeSection(GetParam() * twipsPerColumn, 150 * twipsPerColumn);
    ASSERT_NEAR(app::ViewLeft, GetParam(), 1);

    // How a row places its marker at position p, pixel `at` of window k.
    using Place = std::function<void(int k, long p, QPoint at)>;
    const auto key = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) -> Place {
        return [=](int k, long p, QPoint) { keyAt(k, p, key, modifiers); };
    };
    const Place click = [](int k, long, QPoint at) { QTest::mouseClick(plot(k), Qt::LeftButton, Qt::NoModifier, at); };
    const auto popUp = [this](ui::MenuItem* (*item)(app::CurveForm&)) -> Place {
        return [=, this](int k, long, QPoint at) {
            rightClick(k, at);
            item(curveWindow(k))->trigger();
        };
    };
    struct Row {
        int window;
        Place place;
        int level;  // 0: no marker
    };
    std::vector<Row> rows;
    for (int level = 1; level <= 9; ++level) {
        rows.push_back({1, key(Qt::Key(Qt::Key_0 + level)), level});
        rows.push_back({5, key(Qt::Key(Qt::Key_0 + level), Qt::KeypadModifier), level});
    }
    rows.insert(rows.end(), {{2, key(Qt::Key_0), 0}, {3, key(Qt::Key_0, Qt::KeypadModifier), 0}, {4, click, 1},
                             {6, popUp([](app::CurveForm& w) { return w.mnuLevel2(8); }), 8},
                             {6, popUp([](app::CurveForm& w) { return w.mnuHalfYear; }), 3}});
    std::vector<std::pair<long, int>> placed;
    int column = 5;
    for (const Row& row : rows) {
        column += 3;
        const long p = app::DataLength - app::ViewLeft - column;  // the data under the pointer
        app::Saved = true;
        row.place(row.window, p, QPoint(column, 30));
        EXPECT_FALSE(app::Saved) << column;  // even zero counts as a change
        if (row.level == 0) {
            EXPECT_TRUE(app::YearMark(p) == "---") << column;
            continue;
        }
        ASSERT_TRUE(app::YearMark(p) == row.level) << "column " << column << ", level " << row.level;
        EXPECT_EQ(app::YearMark(p).type(), Variant::Type::Integer);
        EXPECT_TRUE(app::YearMark(p + 1) == "---" && app::YearMark(p - 1) == "---");
        for (int k = 1; k <= 6; ++k) EXPECT_EQ(plot(k)->Picture().pixel(column, 55), levelColour(row.level)) << k;
        placed.emplace_back(p, row.level);
    }
    app::RedrawGreyCurve();
    for (const auto& [p, level] : placed) EXPECT_EQ(shown(3, redrawnColumnOf(p), 30), levelColour(level)) << p;
}

INSTANTIATE_TEST_SUITE_P(SectionStart, MarkersInSectionTest, ::testing::Values(0, 100, 237));

// Undo takes placements back newest first, by Ctrl+Z and by the menu; it remembers the last 51
// placements and beeps when it has nothing left.
TEST_F(CurvesTest, UndoTakesBackTheLastFiftyOnePlacementsNewestFirst) {
    keyAt(1, 150, Qt::Key_1);
    keyAt(1, 150, Qt::Key_1);  // twice at the same place: two entries
    keyAt(1, 150, Qt::Key_3);  // level 3 over level 1
    keyAt(1, 201, Qt::Key_2);
    const auto beeps = [this] { return dialogs->shownOf(ui::ScriptedDialogs::Kind::Beep).size(); };
    // Each undo in turn, by Ctrl+Z (0) or window k's menu, and what positions 150 and 201 then hold.
    const std::tuple<int, Variant, Variant> steps[] = {
        {0, Variant(3), Variant("---")}, {2, Variant(1), Variant("---")}, {0, Variant(1), Variant("---")},
        {1, Variant("---"), Variant("---")}};
    for (const auto& [by, at150, at201] : steps) {
        by ? curveWindow(by).mnuUndo->trigger() : ctrlKey(1, Qt::Key_Z);
        EXPECT_TRUE(app::YearMark(150) == at150 && app::YearMark(201) == at201) << by;
        EXPECT_FALSE(app::CtrlDown);
    }
    EXPECT_EQ(beeps(), 0u);
    curveWindow(1).mnuUndo->trigger();  // nothing left
    EXPECT_EQ(beeps(), 1u);
    EXPECT_NE(shown(1, redrawnColumnOf(150)), kRed);

    // 52 placements: the 52nd pushes the oldest out, which then stays.
    dialogs->clearRecord();
    for (long p = 300; p < 352; ++p) keyAt(1, p, Qt::Key_1);
    for (int i = 0; i < 51; ++i) curveWindow(1).mnuUndo->trigger();
    EXPECT_TRUE(app::YearMark(300) == 1 && app::YearMark(301) == "---");
    EXPECT_EQ(beeps(), 0u);
    curveWindow(1).mnuUndo->trigger();
    EXPECT_EQ(beeps(), 1u);
    // An entry from a longer radiograph (a position beyond this one) is dropped with a beep.
    app::UndoPosition(0) = Variant(5000.0);
    app::UndoValue(0) = Variant("---");
    curveWindow(1).mnuUndo->trigger();
    EXPECT_TRUE(app::UndoPosition(0) == -9999);
    EXPECT_EQ(beeps(), 2u);
}

// A value typed into a range box, then the pointer onto the plot: the keys mark there, and the box
// keeps the value typed.
TEST_F(CurvesTest, ThePlotTakesTheKeysWhenThePointerEntersIt) {
    importFeTable();
    app::CurveForm& c2 = curveWindow(2);
    c2.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&c2));
    c2.topValueBox->setFocus();
    for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_9}) QTest::keyClick(c2.windowHandle(), key);
    hover(plot(2), QPoint(columnOf(100), 30));
    QTest::keyClick(c2.windowHandle(), Qt::Key_1);
    EXPECT_TRUE(app::YearMark(100) == 1 && c2.topValueBox->Text().endsWith("9")) << c2.topValueBox->Text().toStdString();
}

// A number key marks under the pointer while another window has the keyboard; a value box being
// typed in keeps its digits.
TEST_F(CurvesTest, NumberKeysMarkUnderThePointerWhicheverWindowHasTheKeyboard) {
    app::MainForm& main = app::frmMain.get();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    hover(plot(1), QPoint(columnOf(120), 30));
    QTest::keyClick(main.windowHandle(), Qt::Key_2);
    EXPECT_TRUE(app::YearMark(120) == 2 && main.isActiveWindow());
    main.steppingBox->setFocus();
    QTest::keyClick(main.windowHandle(), Qt::Key_5);
    EXPECT_TRUE(app::YearMark(120) == 2 && main.steppingBox->Text().endsWith('5'));
}

// Positions that are not numbers: the stepping comes from the others, and the import says so;
// with no two numbers left the box is emptied and shows red.
TEST_F(CurvesTest, TheSteppingComesFromTheNumericPositions) {
    writeFile(dir.filePath("t.csv"), samples::scannerTable(400).replace("\"L6.spe\",1.2,", "\"L6.spe\",n/a,"));
    importXrf(dir.filePath("t.csv"));
    EXPECT_EQ(app::frmMain->steppingBox->Text(), "200");
    EXPECT_EQ(onlyMessage(), "The positions of 1 of the 400 rows of the XRF table are not numbers: the stepping "
                             "(200 micron) comes from the other rows.");
    restart();
    openSyntheticCore(400);
    writeFile(dir.filePath("t.csv"), QString::fromLatin1(samples::scannerTable(400))
                                         .replace(QRegularExpression("spe\",[0-9.]+,"), "spe\",x,").toLatin1());
    importXrf(dir.filePath("t.csv"));
    EXPECT_TRUE(app::frmMain->steppingBox->Text().isEmpty() &&
                app::frmMain->steppingBox->ToolTipText().startsWith("The stepping"));
}

// Redo, by Ctrl+Shift+Z, Ctrl+Y and the menu, puts back what undo took back, newest first, and beeps
// when there is nothing; a new marking, or a Delete, ends what can be redone.
TEST_F(CurvesTest, RedoPutsBackWhatUndoTookBack) {
    keyAt(1, 150, Qt::Key_1);
    keyAt(1, 150, Qt::Key_4);
    keyAt(1, 201, Qt::Key_2);
    const auto marks = [] { return app::YearMark(150).toString() + " " + app::YearMark(201).toString(); };
    const auto beeps = [this] { return dialogs->shownOf(ui::ScriptedDialogs::Kind::Beep).size(); };
    for (int i = 0; i < 3; ++i) ctrlKey(1, Qt::Key_Z);
    EXPECT_EQ(marks(), "--- ---");
    ctrlKey(1, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(marks(), "1 ---");
    ctrlKey(2, Qt::Key_Y);
    EXPECT_EQ(marks(), "4 ---");
    curveWindow(3).mnuRedo->trigger();
    EXPECT_TRUE(marks() == "4 2" && !app::Saved && beeps() == 0);
    app::frmMain->activateWindow();  // from the main window as well
    QTest::keyClick(app::frmMain->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(marks(), "4 ---");
    QTest::keyClick(app::frmMain->windowHandle(), Qt::Key_Y, Qt::ControlModifier);
    ctrlKey(1, Qt::Key_Y);
    EXPECT_TRUE(marks() == "4 2" && beeps() == 1);
    keyAt(1, 300, Qt::Key_1);
    ctrlKey(1, Qt::Key_Y);
    EXPECT_TRUE(marks() == "4 2" && beeps() == 2);
    ctrlKey(1, Qt::Key_Z);
    rightClick(1, QPoint(columnOf(150), 30));
    curveWindow(1).mnuDelete->trigger();
    ctrlKey(1, Qt::Key_Y, Qt::ShiftModifier);
    EXPECT_TRUE(marks() == "--- 2" && app::YearMark(300) == "---" && beeps() == 3);
}

// Delete clears the position and both neighbours (markers, labels, notes) and cannot be undone;
// at position 1 the column titles stay; beyond the data nothing happens.
TEST_F(CurvesTest, DeleteClearsThePositionAndBothNeighbours) {
    for (long p : {1, 2, 59, 60, 61, 62}) {
        app::YearMark(p) = Variant(core::Integer(1));
        app::MarkerLabel(p) = "#T";
        app::MarkerNote(p) = "#n";
    }
    rightClick(2, QPoint(columnOf(60), 10));
    curveWindow(2).mnuDelete->trigger();
    for (long p : {59, 60, 61})
        EXPECT_TRUE(app::YearMark(p) == "---" && app::MarkerLabel(p) == "---" && app::MarkerNote(p) == "---") << p;
    EXPECT_TRUE(app::YearMark(62) == 1 && app::UndoPosition(0) == -9999);
    rightClick(3, QPoint(columnOf(1), 10));
    curveWindow(3).mnuDelete->trigger();
    EXPECT_TRUE(app::YearMark(1) == "---" && app::YearMark(2) == "---");
    EXPECT_TRUE(app::YearMark(0) == "Year" && app::MarkerLabel(0) == "Lamina" && app::MarkerNote(0) == "Note");
    // A few pixels off a line still takes it; nowhere near one, a beep.
    app::MarkerNote(150) = "#n";
    rightClick(2, QPoint(columnOf(150) + 3, 10));
    curveWindow(2).mnuDelete->trigger();
    rightClick(2, QPoint(columnOf(300), 10));
    curveWindow(2).mnuDelete->trigger();
    EXPECT_TRUE(app::MarkerNote(150) == "---" && dialogs->shownOf(ui::ScriptedDialogs::Kind::Beep).size() == 1);

    // The plot is two pixels wider than the data: clicks there place and delete nothing.
    app::Saved = true;
    const QPoint beyond(plot(4)->width() - 1, 20);
    QTest::mouseClick(plot(4), Qt::LeftButton, Qt::NoModifier, beyond);
    rightClick(4, beyond);
    curveWindow(4).mnuDelete->trigger();
    EXPECT_TRUE(app::Saved && app::UndoPosition(0) == -9999);
}

// Switching marking off (the pop-up's "Activate" in any window, Ctrl+A) untick and disable every
// marking command in all six windows and the main window; switching on puts everything back.
TEST_F(CurvesTest, ActivateAndCtrlASwitchMarkingOffAndBackOn) {
    const auto entries = [] {
        std::vector<bool> state{app::PointerActive, app::frmMain->mnuActive->Checked()};
        for (int k = 1; k <= 6; ++k) {
            app::CurveForm& w = curveWindow(k);
            state.push_back(w.mnuActivate->action()->isChecked());  // the tick shown
            for (ui::MenuItem* m : {w.mnuOneYear, w.mnuHalfYear, w.mnuLamina, w.mnuNote, w.mnuUndo, w.mnuDelete,
                                    w.mnuLevel(1), w.mnuLevel(5), w.mnuLevel2(7)})
                state.push_back(m->Enabled());
        }
        return state;
    };
    const std::vector<bool> on = entries();
    ASSERT_TRUE(app::PointerActive);
    std::vector<bool> off(on.size(), false);
    for (std::size_t i = 11; i < off.size(); i += 10) off[i] = true;  // "(more)" is not touched
    for (int k : {1, 3}) {
        rightClick(k, QPoint(columnOf(100), 30));
        curveWindow(k).mnuActivate->trigger();
        EXPECT_EQ(entries(), off) << k;
        keyAt(k, 100, Qt::Key_1);
        EXPECT_TRUE(app::YearMark(100) == "---");
        rightClick(k, QPoint(columnOf(100), 30));
        curveWindow(k).mnuActivate->trigger();
        EXPECT_EQ(entries(), on) << k;
    }
    ctrlKey(1, Qt::Key_A);
    EXPECT_EQ(entries(), off);
    ctrlKey(1, Qt::Key_A);
    EXPECT_EQ(entries(), on);
    keyAt(1, 120, Qt::Key_1);
    EXPECT_TRUE(app::YearMark(120) == 1);
}

// Labels cover markers in cyan, notes tick the lowest 30 % in white, an emptied label shows
// nothing; a marker at position 1 is kept but not drawn.
TEST_F(CurvesTest, LabelsCoverMarkersAndNotesTickTheLowestPart) {
    app::YearMark(70) = Variant(core::Integer(1));
    app::MarkerLabel(70) = "#tephra";
    app::MarkerNote(80) = "#clay";
    app::MarkerLabel(85) = "#---";
    keyAt(1, 1, Qt::Key_1);
    EXPECT_TRUE(app::YearMark(1) == 1);
    app::RedrawGreyCurve();
    const int high = plot(2)->height();
    EXPECT_EQ(shown(2, redrawnColumnOf(70), high / 6), 0xFF00FFFFu);
    EXPECT_TRUE(shown(2, redrawnColumnOf(80), high * 11 / 12) == 0xFFFFFFFFu &&
                shown(2, redrawnColumnOf(80), high / 12) != 0xFFFFFFFFu);
    EXPECT_NE(shown(2, redrawnColumnOf(85), high / 6), 0xFF00FFFFu);
    for (int c = redrawnColumnOf(2); c < plot(1)->surface().widthPixels(); ++c)
        EXPECT_NE(shown(1, c, 30), kRed) << c;
}

// The pointer line: in window 1 only before XRF data, in all six with it, in none while marking is
// off; moving elsewhere (another plot, the main window) takes it away.
TEST_F(CurvesTest, ThePointerLineWithAndWithoutXrfData) {
    const auto windowsShowing = [](long p) {
        return curveWindowsWhere([p](int k) { return shown(k, columnOf(p)) == kPointer; });
    };
    curveWindow(2).Show();
    hover(plot(2), QPoint(columnOf(77), 10));
    EXPECT_EQ(app::PointerX, app::DataLength - 77);
    EXPECT_EQ(windowsShowing(77), std::vector<int>{1});
    hover(plot(1), QPoint(columnOf(60), 10));
    EXPECT_TRUE(windowsShowing(77).empty());
    app::frmMain->client()->setMouseTracking(true);
    hover(app::frmMain->client(), QPoint(5, 5));
    EXPECT_TRUE(windowsShowing(60).empty());
    EXPECT_EQ(app::frmMain->pointerReadout->Caption(), "---");

    importFeTable();
    hover(plot(5), QPoint(columnOf(33), 30));
    EXPECT_EQ(windowsShowing(33), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    app::ToggleActivation();
    hover(plot(5), QPoint(columnOf(40), 30));
    EXPECT_TRUE(windowsShowing(40).empty());
}

// Curves leave gaps where a value is missing; an element the table lacks shows Grey; equal range
// boxes draw with a top of 100 and keep their text.
TEST_F(CurvesTest, CurvesLeaveGapsAtMissingValuesAndUnknownElementsShowGrey) {
    importFeTable();
    curveWindow(2).elementList->setText("Fe");
    curveWindow(2).topValueBox->setText("100");
    curveWindow(2).bottomValueBox->setText("0");
    curveWindow(3).elementList->setText("Zr");
    curveWindow(4).ratioCheck->setValue(1);
    curveWindow(4).denominatorList->AddItem("1");
    curveWindow(4).denominatorList->setText("1");
    curveWindow(5).topValueBox->setText("5");
    curveWindow(5).bottomValueBox->setText("5");
    app::RedrawCurves();
    EXPECT_EQ(app::CurveValue(2, 200), -9999.0f);
    EXPECT_EQ((QStringList{curveWindow(2).Caption(), curveWindow(3).Caption(), curveWindow(4).Caption()}),
              (QStringList{"2: Fe", "3: Grey", "4: Grey / 1"}));
    EXPECT_EQ(curveWindow(5).topValueBox->Text(), "5");
    const auto curveRows = [this](int k, long p) {
        int rows = 0;
        const QImage image = plot(k)->Image();
        for (int y = 0; y < image.height(); ++y) rows += image.pixel(redrawnColumnOf(p), y) == kCurve;
        return rows;
    };
    EXPECT_EQ(curveRows(2, 200), 0);  // the segments into and out of it are not drawn
    for (const auto& [k, p] : {std::pair{2, 150}, {2, 199}, {3, 200}, {5, 150}}) EXPECT_GT(curveRows(k, p), 0) << k;
}
