#include <QTest>
#include <functional>

#include "AppFixture.h"
#include "SynthCore.h"
#include "curves/windows/Curves.h"
#include "radiograph/windows/Rendering.h"

using app::CurveForm;
using app::curveWindow;
using core::Variant;
using ui::MessageResult;
using ui::ScriptedDialogs;

namespace {
const char* const kShown[7] = {nullptr, "1: Grey", "2: Fe", "3: Mn", "4: Ti", "5: K", "6: Zr"};
constexpr QRgb kBrightGreen = 0xFF00FF00;
constexpr QRgb kRawUnderAverage = 0xFF006E5A;  // (0, 110, 90)

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
// A comma table of `rows` rows whose field f of row p is value(f, p), fields 1..10 (9 "kcps",
// 10 "Fe").
QByteArray table(int rows, const std::function<QByteArray(int, int)>& value = {}) {
    QByteArray out = "\"scan\"\r\n\"peakarea\"\r\n\"filename\"";
    for (const char* name : {"position (mm)", "a", "validity", "b", "c", "d", "e", "kcps", "Fe"})
        out += ",\"" + QByteArray(name) + "\"";
    out += "\r\n";
    for (int p = 1; p <= rows; ++p) {
        out += "\"L" + QByteArray::number(p) + ".spe\"," + QByteArray::number(0.1 * p);
        for (int f = 3; f <= 10; ++f) out += "," + (value ? value(f, p) : QByteArray::number(f + p));
        out += "\r\n";
    }
    return out;
}
}  // namespace

class XrfImportTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        installDefaultSettings();
    }
    app::MainForm& openRadiograph(const QString& path) {
        app::MainForm& main = start();
        dialogs->answerOpen(path);
        main.Command1->click();
        return main;
    }
    // The synthetic core of `width` columns as radiograph, and its table in both forms.
    app::MainForm& openSyntheticRadiograph(int width) {
        core = synth::makeVarvedCore(width, 60);
        const QString picture = dir.filePath("core.bmp");
        EXPECT_TRUE(core.radiograph.convertToFormat(QImage::Format_RGB888).save(picture, "BMP"));
        writeFile(dir.filePath("Results.txt"), synth::makeXrfTable(core, true));
        writeFile(dir.filePath("Results.csv"), synth::makeXrfTable(core, false));
        return openRadiograph(picture);
    }
    void openXrf(const QString& path, bool viaMenu = false) {
        dialogs->answerOpen(path);
        if (viaMenu) {
            app::frmMain->mnuOpenXRF->trigger();
        } else {
            app::frmMain->Command2->click();
        }
    }
    // Quits and starts the program again, as a user does the next day.
    void restart() {
        app::unloadAllForms();
        app::resetSharedState();
        ui::setTwipsPerPixel(ui::kLowTwipsPerPixel);
        app::resetProgramEnded();
        dialogs->clearRecord();
    }
    ui::PictureBox* plot(int k) { return curveWindow(k).Picture1; }
    void pressAt(int k, long p, Qt::Key key) {
        hover(plot(k), QPoint(static_cast<int>(app::DataLength - p - app::ViewLeft), 30));
        QTest::keyClick(plot(k), key);
    }
    int pixelsOf(int k, QRgb colour) {
        const QImage image = plot(k)->Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
        return n;
    }
    synth::VarvedCore core;
};

// The scanner's own file through the button, its comma copy through the menu: the same document.
TEST_F(XrfImportTest, TheRealScannerTableOpensInBothFormsAlike) {
    std::vector<std::vector<float>> curves;
    for (const bool tabs : {true, false}) {
        restart();
        app::MainForm& main = openRadiograph(testsupport::realData("radiograph.bmp"));
        openXrf(testsupport::realData(tabs ? "Results.txt" : "Results.csv"), !tabs);
        EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
        const auto open = dialogs->shownOf(ScriptedDialogs::Kind::OpenFile);
        EXPECT_EQ(open.back().filter, "XRF data (*.csv *.txt)|*.csv;*.txt|All files|*.*");
        ASSERT_TRUE(app::XrfLoaded);
        EXPECT_EQ(app::XrfColumnCount, 55);
        EXPECT_EQ(main.Text1->Text(), "200");  // the stepping, micron
        for (int k = 1; k <= 6; ++k) {
            EXPECT_EQ(curveWindow(k).Caption(), kShown[k]) << k;
            EXPECT_TRUE(curveWindow(k).isVisible()) << k;
            EXPECT_EQ(curveWindow(k).Combo1->ListCount(), 48) << k;  // Grey and fields 9..55
            EXPECT_GT(pixelsOf(k, kBrightGreen), 100) << k;           // a curve is drawn
        }
        EXPECT_EQ(curveWindow(4).Combo2->List(0), "1");
        EXPECT_EQ(curveWindow(4).Combo2->List(1), "Grey");
        EXPECT_EQ(app::Profile.get(1, 0).toString(), "kcps");
        EXPECT_FALSE(main.Command2->isEnabled());
        EXPECT_FALSE(main.mnuOpenXRF->Enabled());
        EXPECT_TRUE(main.Command5->isEnabled());
        EXPECT_EQ(main.Command5->Caption(), "Save as");
        for (ui::MenuItem* m : {main.mnuSave, main.mnuSaveAs, main.mnuSummary, main.mnuShowAll, main.mnuAlign})
            EXPECT_TRUE(m->Enabled()) << m->Caption().toStdString();
        EXPECT_TRUE(main.Frame3->isEnabled());
        EXPECT_TRUE(app::Saved);
        EXPECT_FALSE(main.ProgressBar1->isVisible());
        EXPECT_EQ(main.Text3(1)->Text(), app::XrfData.get(2, app::DataLength - app::ViewLeft).toString());
        // The section reaches the right-hand end: the first measurement's position.
        ASSERT_EQ(app::ViewRight, app::DataLength);
        EXPECT_EQ(main.Text3(0)->Text(), "0.01");
        EXPECT_GT(main.Text3(0)->x(), main.Text3(1)->x());  // "From (R)" is the right-hand box
        std::vector<float> values;
        for (int k = 1; k <= 6; ++k)
            for (long i = 1; i <= app::DataLength; ++i) values.push_back(app::CurveValue(k, i));
        curves.push_back(values);
    }
    EXPECT_EQ(curves[0], curves[1]);
}

// The whole job on the real core: count, label, note, save, quit, start again, reopen, save again.
TEST_F(XrfImportTest, ACountingJobSurvivesSavingQuittingAndReopening) {
    app::MainForm& main = openRadiograph(testsupport::realData("radiograph.bmp"));
    openXrf(testsupport::realData("Results.txt"));
    ASSERT_TRUE(app::XrfLoaded);
    const long right = app::DataLength - app::ViewRight;  // the section's first position
    const long p1 = right + 10, p2 = right + 40, p3 = right + 41, p4 = right + 90;
    pressAt(2, p1, Qt::Key_1);
    pressAt(3, p2, Qt::Key_3);
    pressAt(5, p3, Qt::Key_7);
    pressAt(1, p4, Qt::Key_1);
    EXPECT_TRUE(app::YearMark(p3) == 7);
    // A label through its dialog (key L), a note through its dialog (key N).
    pressAt(3, p2, Qt::Key_L);
    QTest::keyClicks(app::frmLaminaName->Text1, "A \"1\", thick");
    app::frmLaminaName->Command1->click();
    pressAt(4, p4, Qt::Key_N);
    app::frmNote->Command1->click();  // confirmed empty: no note
    EXPECT_EQ(app::MarkerLabel(p2), "#A \"1\", thick");
    EXPECT_EQ(app::MarkerNote(p4), "#---");
    app::MarkerNote(p3) = QStringLiteral("#two\r\nlines");  // as an older file may hold it
    EXPECT_FALSE(app::Saved);

    const QString work = dir.filePath("YAN8A1 work.csv");
    dialogs->answerSave(work);
    main.Command5->click();
    const auto save = dialogs->shownOf(ScriptedDialogs::Kind::SaveFile);
    ASSERT_EQ(save.size(), 1u);
    EXPECT_EQ(save[0].initialName, testsupport::realData("Results.txt"));
    EXPECT_EQ(main.Command5->Caption(), "Save");
    EXPECT_TRUE(app::Saved);
    EXPECT_EQ(app::MarkerLabel(p2), "#A '1', thick");  // as the file keeps it
    EXPECT_EQ(app::MarkerNote(p4), "---");
    const QByteArray saved = fileBytes(work);
    EXPECT_EQ(saved.count("\r\n"), 4 + app::DataLength + 1);  // + the line end inside the note
    EXPECT_TRUE(saved.startsWith("\"C:\\Data\\ITRAX\\YAN_Aug 2013"));

    // The summary: the label at p2 cuts the section; its own boundary counts nowhere.
    const QString summary = dir.filePath("summary.csv");
    dialogs->answerSave(summary);
    main.mnuSummary->trigger();
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::SaveFile).back().initialName,
              dir.filePath("YAN8A1 work (Summary).csv"));
    const QStringList lines = QString::fromUtf8(fileBytes(summary)).split("\r\n");
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "\"" + work + "\"");
    EXPECT_EQ(lines[3], "\"'Section top'\"");
    EXPECT_EQ(lines[4], "\"---\",1,0,0,0,0,0,0,0,0");
    EXPECT_EQ(lines[5], "\"'#A '1', thick'\"");
    EXPECT_EQ(lines[6], "\"---\",1,0,0,0,0,0,1,0,0");
    EXPECT_EQ(lines[7], "\"'Section bottom'\"");
    EXPECT_TRUE(app::Saved);

    main.Command4->click();  // nothing unsaved: no question
    EXPECT_TRUE(app::programEnded());
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());

    restart();
    app::MainForm& again = openRadiograph(testsupport::realData("radiograph.bmp"));
    openXrf(work);
    ASSERT_TRUE(app::XrfLoaded);
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
    EXPECT_EQ(again.Command5->Caption(), "Save");
    EXPECT_EQ(app::XrfColumnCount, 55);
    EXPECT_EQ(app::WorkingFileName, work);
    EXPECT_TRUE(app::YearMark(p1) == 1);
    EXPECT_TRUE(app::YearMark(p2) == 3);
    EXPECT_TRUE(app::YearMark(p3) == 7);
    EXPECT_TRUE(app::YearMark(p4) == 1);
    EXPECT_TRUE(app::YearMark(p1 + 1) == "---");
    EXPECT_EQ(app::MarkerLabel(p2), "#A '1', thick");
    EXPECT_EQ(app::MarkerNote(p3), "#two\r\nlines");
    EXPECT_EQ(app::MarkerNote(p4), "---");
    EXPECT_EQ(app::MarkerNote(p2), "---");  // the label dialog's empty note
    EXPECT_TRUE(app::YearMark(0) == "Year");
    EXPECT_EQ(app::LabelCount, 1);  // the preview marks the label again
    EXPECT_EQ(app::LabelPositions(1), p2);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(curveWindow(k).Caption(), kShown[k]);
    EXPECT_EQ(again.Text1->Text(), "200");

    // Save writes straight back: the same bytes.
    again.Command5->click();
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::SaveFile).size(), 0u);
    EXPECT_EQ(fileBytes(work), saved);
}

TEST_F(XrfImportTest, TheSyntheticCoreOpensFromEitherForm) {
    openSyntheticRadiograph(500);
    openXrf(dir.filePath("Results.csv"), true);
    ASSERT_TRUE(app::XrfLoaded);
    EXPECT_EQ(app::frmMain->Text1->Text(), "200");
    // Fe follows the laminae: it changes by thousands at every boundary inside the core.
    for (int boundary : core.boundaries) {
        const long at = app::DataLength - boundary;
        EXPECT_GT(std::abs(app::CurveValue(2, at) - app::CurveValue(2, at + 1)), 2000.0f) << boundary;
    }
}

// A save that fails says where and why, keeps the work unsaved and open, and quitting asks again.
TEST_F(XrfImportTest, AFailedSaveIsToldAndQuittingAsksAgain) {
    app::MainForm& main = openSyntheticRadiograph(300);
    openXrf(dir.filePath("Results.txt"));
    pressAt(2, 100, Qt::Key_1);
    ASSERT_FALSE(app::Saved);
    writeFile(dir.filePath("plain"), "x");
    const QString impossible = dir.filePath("plain/work.csv");  // inside a file: cannot be written
    dialogs->answerSave(impossible);
    main.Command5->click();
    auto messages = dialogs->shownOf(ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith("The working file could not be saved to " +
                                            QDir::toNativeSeparators(impossible)))
        << messages[0].text.toStdString();
    EXPECT_FALSE(app::Saved);
    EXPECT_EQ(main.Command5->Caption(), "Save as");
    EXPECT_EQ(app::WorkingFileName, dir.filePath("Results.txt"));
    EXPECT_EQ(fileBytes(dir.filePath("Results.txt")), synth::makeXrfTable(core, true));  // untouched

    // Quit: Yes, the save fails again: the program stays; the next quit asks again.
    dialogs->clearRecord();
    dialogs->answerMessage(MessageResult::Yes).answerSave(impossible);
    main.Command4->click();
    EXPECT_FALSE(app::programEnded());
    dialogs->clearRecord();
    dialogs->answerMessage(MessageResult::No);
    main.Command4->click();
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::Message)[0].text,
              "Do you want to save the changes to the working file?");
    EXPECT_TRUE(app::programEnded());
}

// Moving averages per window from the pop-up menu, and Flip vertical.
TEST_F(XrfImportTest, MovingAveragesBelongToTheirWindowAndFlipTurnsThePlot) {
    openSyntheticRadiograph(300);
    openXrf(dir.filePath("Results.txt"));
    CurveForm& w2 = curveWindow(2);
    EXPECT_EQ(pixelsOf(2, kRawUnderAverage), 0);
    w2.mnuFlat5->trigger();
    EXPECT_TRUE(w2.mnuFlat5->Checked());
    EXPECT_FALSE(w2.mnuNone->Checked());
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(app::SmoothW1(k), k == 2 ? 0.2f : 0.0f) << k;
    EXPECT_GT(pixelsOf(2, kRawUnderAverage), 50);  // the raw curve under the smoothed one
    EXPECT_EQ(pixelsOf(3, kRawUnderAverage), 0);
    w2.mnuNone->trigger();
    EXPECT_EQ(pixelsOf(2, kRawUnderAverage), 0);

    // Each entry sets its five weights in window 2 alone (the three-point flat ones sum to 0.9999).
    const struct {
        ui::MenuItem* item;
        float w[5];
    } entries[] = {{w2.mnuNone, {0, 0, 1, 0, 0}},
                   {w2.mnuFlat3, {0, 0.3333f, 0.3333f, 0.3333f, 0}},
                   {w2.mnuWeighted3, {0, 0.25f, 0.5f, 0.25f, 0}},
                   {w2.mnuFlat5, {0.2f, 0.2f, 0.2f, 0.2f, 0.2f}},
                   {w2.mnuWeighted5, {0.1f, 0.2f, 0.4f, 0.2f, 0.1f}}};
    for (const auto& e : entries) {
        e.item->trigger();
        const float set[5] = {app::SmoothW1(2), app::SmoothW2(2), app::SmoothW3(2), app::SmoothW4(2),
                              app::SmoothW5(2)};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(set[i], e.w[i]) << e.item->Caption().toStdString() << " " << i;
        for (ui::MenuItem* other : w2.movingAverageItems()) EXPECT_EQ(other->Checked(), other == e.item);
        EXPECT_EQ(app::SmoothW2(3), 0.0f);
    }

    CurveForm& w3 = curveWindow(3);
    const QString top = w3.Text1->Text(), bottom = w3.Text2->Text();
    ASSERT_NE(top, bottom);
    w3.mnuFlip->trigger();
    EXPECT_EQ(w3.Text1->Text(), bottom);
    EXPECT_EQ(w3.Text2->Text(), top);
    w3.mnuFlip->trigger();
    EXPECT_EQ(w3.Text1->Text(), top);
    EXPECT_EQ(w3.Text2->Text(), bottom);
}

// Ratios with zero denominators leave gaps, and a small negative ratio range settles at once: its
// bottom is not lowered again by later redraws, and no redraw calls itself without end.
TEST_F(XrfImportTest, RatiosLeaveGapsAndASmallRangeSettles) {
    openSyntheticRadiograph(300);
    // kcps (field 9): 0.8 * (p mod 3 - 1), so -0.8, 0, 0.8; Fe (field 10): p mod 4 (0 every fourth).
    writeFile(dir.filePath("ratio.csv"), table(300, [](int f, int p) {
                  if (f == 9) return QByteArray::number(0.8 * (p % 3 - 1));
                  if (f == 10) return QByteArray::number(p % 4);
                  return QByteArray::number(f);
              }));
    openXrf(dir.filePath("ratio.csv"));
    ASSERT_TRUE(app::XrfLoaded);
    CurveForm& w4 = curveWindow(4);
    w4.Combo1->setText("kcps");
    QTest::mouseClick(w4.Check1, Qt::LeftButton, Qt::NoModifier, QPoint(5, w4.Check1->height() / 2));
    EXPECT_TRUE(w4.Combo2->isVisible());
    w4.Combo2->setText("Fe");
    w4.Combo2_Click();
    EXPECT_EQ(w4.Caption(), "4: kcps / Fe");
    EXPECT_EQ(app::CurveValue(4, 4), -9999.0f);  // Fe is 0 at position 4
    EXPECT_EQ(app::CurveValue(4, 5), 0.8f);      // 0.8 * (5 mod 3 - 1) / (5 mod 4)
    EXPECT_EQ(w4.Text1->Text(), "0.8");          // a top below 1 is left unrounded ...
    EXPECT_EQ(w4.Text2->Text(), "0");            // ... and a gap makes the bottom 0
    EXPECT_TRUE(app::AutoRange(4));

    // Plain kcps: -0.8 .. 0.8; the automatic bottom is rounded down once and then stays.
    QTest::mouseClick(w4.Check1, Qt::LeftButton, Qt::NoModifier, QPoint(5, w4.Check1->height() / 2));
    EXPECT_EQ(w4.Caption(), "4: kcps");
    EXPECT_EQ(w4.Text1->Text(), "0.8");
    EXPECT_EQ(w4.Text2->Text(), "-5");
    for (int i = 0; i < 3; ++i) app::RedrawCurves();
    EXPECT_EQ(w4.Text2->Text(), "-5");
    EXPECT_TRUE(app::AutoRange(4));
}
