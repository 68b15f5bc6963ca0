// The scanner's table imported through the main window: both of its forms, a whole counting job
// saved and reopened, the counts written for every level, moving averages and ratios.

#include "AppFixture.h"
#include "app/windows/ChronologyForm.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "exporting/windows/ExportForm.h"
#include "files/Chronology.h"

using app::CurveForm;
using app::curveWindow;
using core::Variant;
using ui::ScriptedDialogs;

namespace {
const char* const kShown[7] = {nullptr, "1: Grey", "2: Fe", "3: Mn", "4: Ti", "5: K", "6: Zr"};
constexpr QRgb kBrightGreen = 0xFF00FF00;
constexpr QRgb kRawUnderAverage = 0xFF006E5A;  // (0, 110, 90)
}  // namespace

class XrfImportTest : public AppTest {};

// The real core's table in both forms, the tab form by the button and the comma form by the menu,
// opens the same document: the same curves, windows and commands, and no message. (Every other
// form of a table is read cell for cell through the button in the bad-input tables.)
TEST_F(XrfImportTest, BothFormsOfTheRealTableOpenAlike) {
    std::vector<QStringList> states;
    for (const bool byMenu : {false, true}) {
        restart();
        app::MainForm& main = openRadiograph(testsupport::realData("radiograph.bmp"));
        importXrf(testsupport::realData(byMenu ? "Results.csv" : "Results.txt"), byMenu);
        EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
        ASSERT_TRUE(app::XrfLoaded);
        // What the user sees: the stepping, the windows and their elements, the commands now
        // offered, the section's ends in "To (L)" and "From (R)", and the curves themselves.
        QStringList seen{main.steppingBox->Text(), main.saveAsButton->Caption(), main.sectionEndPositions(0)->Text(),
                         main.sectionEndPositions(1)->Text(), QString::number(app::XrfColumnCount)};
        for (const bool b : {main.importXrfButton->isEnabled(), main.mnuOpenXRF->Enabled(), main.mnuSave->Enabled(),
                             main.mnuSummary->Enabled(), main.mnuShowAll->Enabled(), main.windowFrame->isEnabled(),
                             main.progressBar->isVisible(), app::Saved})
            seen << QString::number(b);
        for (int k = 1; k <= 6; ++k) {
            seen << curveWindow(k).Caption() << QString::number(curveWindow(k).isVisible())
                 << QString::number(curveWindow(k).elementList->ListCount());
            EXPECT_GT(countPixels(plot(k)->Image(), kBrightGreen), 100) << k;  // a curve is drawn
            for (long i = 1; i <= app::DataLength; ++i) seen << QString::number(app::CurveValue(k, i));
        }
        EXPECT_EQ(seen.mid(0, 3), (QStringList{"200", "Save as", "0.01"}));  // the section reaches position 1
        EXPECT_EQ(seen.mid(4, 9), (QStringList{"55", "0", "0", "1", "1", "1", "1", "0", "1"}));
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(seen.mid(13 + (k - 1) * (3 + app::DataLength), 3), (QStringList{kShown[k], "1", "48"})) << k;
        states.push_back(seen);
    }
    EXPECT_EQ(states[0], states[1]);
}

// The whole job on the real core: count, label, note, save, quit, start again, reopen, save again.
TEST_F(XrfImportTest, ACountingJobSurvivesSavingQuittingAndReopening) {
    importRealCore();
    app::MainForm& main = app::frmMain.get();
    const long right = app::DataLength - app::ViewRight;  // the section's first position
    const long p1 = right + 10, p2 = right + 40, p3 = right + 41, p4 = right + 90;
    keyAt(2, p1, Qt::Key_1);
    keyAt(3, p2, Qt::Key_3);
    keyAt(5, p3, Qt::Key_7);
    keyAt(1, p4, Qt::Key_1);
    labelAt(3, p2, "A \"1\", thick");
    keyAt(4, p4, Qt::Key_N);
    app::frmNote->okButton->click();                        // confirmed empty: no note
    app::MarkerNote(p3) = QStringLiteral("#two\r\nlines");  // as an older file may hold it
    EXPECT_FALSE(app::Saved);

    const QString work = dir.filePath("YAN8A1 work.csv");
    dialogs->answerSave(work);
    main.saveAsButton->click();
    // The scanner's own tab table is never offered to be replaced: a .csv beside it is.
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::SaveFile).at(0).initialName, testsupport::realData("Results.csv"));
    EXPECT_TRUE(main.saveAsButton->Caption() == "Save" && app::Saved);
    EXPECT_EQ(app::MarkerLabel(p2), "#A '1', thick");  // as the file keeps it
    const QByteArray saved = files::readFileBytes(work);
    EXPECT_EQ(saved.count("\r\n"), 4 + app::DataLength + 1);  // + the line end inside the note
    EXPECT_TRUE(saved.startsWith("\"C:\\Data\\ITRAX\\YAN_Aug 2013"));
    main.quitButton->click();  // nothing unsaved: no question
    EXPECT_TRUE(app::programEnded() && dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());

    restart();
    app::MainForm& again = openRadiograph(testsupport::realData("radiograph.bmp"));
    importXrf(work);
    ASSERT_TRUE(app::XrfLoaded);
    EXPECT_TRUE(dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
    EXPECT_TRUE(again.saveAsButton->Caption() == "Save" && app::WorkingFileName == work);
    const std::pair<long, Variant> marks[] = {
        {p1, 1}, {p2, 3}, {p3, 7}, {p4, 1}, {p1 + 1, Variant("---")}, {0, Variant("Year")}};
    for (const auto& [p, mark] : marks) EXPECT_TRUE(app::YearMark(p) == mark) << p;
    EXPECT_EQ((QStringList{app::MarkerLabel(p2), app::MarkerNote(p3), app::MarkerNote(p4)}),
              (QStringList{"#A '1', thick", "#two\r\nlines", "---"}));
    EXPECT_EQ(app::LabelCount, 1);  // the preview marks the label again
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(curveWindow(k).Caption(), kShown[k]);
    EXPECT_EQ(again.steppingBox->Text(), "200");
    again.saveAsButton->click();  // Save writes straight back: the same bytes
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::SaveFile).size(), 0u);
    EXPECT_EQ(files::readFileBytes(work), saved);
}

// Boundaries of every level 1 to 9 in one core, marked with the keys from the top down (levels
// 1, 2, ..., 9, 1, 2, ...), a label on the tenth: the summary counts each level above and below
// the label (whose own boundary counts nowhere).
TEST_F(XrfImportTest, EveryLevelCountsInTheSummary) {
    openSyntheticCore(400);
    placeSection();
    importXrf(dir.filePath("Results.txt"));
    std::vector<long> marked;  // data positions, top (position 1) first
    for (auto b = core.boundaries.rbegin(); b != core.boundaries.rend() && marked.size() < 18; ++b) {
        const long p = app::DataLength - *b;  // position 1 is the right-hand end
        keyAt(1 + marked.size() % 6, p, Qt::Key(Qt::Key_1 + marked.size() % 9));
        marked.push_back(p);
    }
    ASSERT_EQ(marked.size(), 18u);
    labelAt(2, marked[9], "V10");

    dialogs->answerSave(dir.filePath("summary.csv"));
    app::frmMain->mnuSummary->trigger();
    const QStringList summary = linesOf(dir.filePath("summary.csv"));
    EXPECT_EQ(summary.mid(3), (QStringList{"\"'Section top'\"", "\"---\",1,1,1,1,1,1,1,1,1", "\"'#V10'\"",
                                           "\"---\",0,1,1,1,1,1,1,1,1", "\"'Section bottom'\""}));

}

// A core counted with the keys from the top down (levels 1, 2, 9, 3, 1, 1, a label on the third),
// its chronology saved through File > Save chronology... with the year of coring: three varves,
// checked against the hand-made table (the second divided by its level-3 boundary into two
// sub-layers, an uncertain year as 0.5 +/- 0.5 years from the first down); their thicknesses add up
// to the first year boundary's distance from the last. Level 9 is made a year level ("1, 9"). The
// choices are offered again the next time. The top boundary's position in the table is no number:
// it is counted from the table's first position by the stepping. The same varves as a NOAA template
// and a LiPD table (which need the calendar year), and in Tool > Chronology plot, which follows a
// new boundary and saves its picture.
TEST_F(XrfImportTest, TheChronologyHasARowPerVarveWithItsCalendarYear) {
    openSyntheticCore(400);
    placeSection();
    const auto mm = [](long p) { return 0.01 + 0.2 * static_cast<double>(p - 1); };  // as the table has them
    const long top = app::DataLength - core.boundaries.back();
    const QString cell = QStringLiteral("L%1.spe\t%2").arg(top - 1, 6, 10, QLatin1Char('0')).arg(mm(top), 0, 'f', 2);
    writeFile(dir.filePath("Results.txt"), QString::fromUtf8(synth::makeXrfTable(core, true))
                                               .replace(cell, cell.section('\t', 0, 0) + "\tx")
                                               .toUtf8());
    importXrf(dir.filePath("Results.txt"));
    ASSERT_FALSE(app::XrfData.get(2, static_cast<int>(top)).isNumeric());
    const int levels[] = {1, 2, 9, 3, 1, 1};
    std::vector<long> marked;  // data positions, top (position 1) first
    for (auto b = core.boundaries.rbegin(); marked.size() < std::size(levels); ++b) {
        marked.push_back(app::DataLength - *b);  // position 1 is the right-hand end
        keyAt(2, marked.back(), Qt::Key(Qt::Key_0 + levels[marked.size() - 1]));
    }
    labelAt(2, marked[2], "V3");

    app::frmMain->mnuChronology->trigger();
    app::ChronologyForm& form = app::frmChronology.get();
    ASSERT_TRUE(form.isVisible());
    EXPECT_TRUE(form.sectionBox->Text() == "SYNTH 1" && form.yearLevelsBox->Text() == "1" &&
                form.uncertainLevelsBox->Text() == "2" && form.seasonLevelsBox->Text() == "3");
    form.compositeTopBox->setText("1250");
    form.yearLevelsBox->setText("1, 9");
    form.formList->setListIndex(1);  // an archive's form gives ages: refused without the year
    dialogs->clearRecord();
    form.saveButton->click();
    EXPECT_TRUE(form.isVisible() && onlyMessage().contains("please type the calendar year of the topmost varve"));
    form.topYearBox->setText("2013");
    form.siteBox->setText("Lake X");
    form.formList->setListIndex(0);
    dialogs->answerSave(dir.filePath("chronology.csv"));
    form.saveButton->click();
    EXPECT_FALSE(form.isVisible());
    const auto thickness = [&](std::size_t from, std::size_t to) { return QString::number(mm(marked[to]) - mm(marked[from])); };
    const auto row = [&](int year, std::size_t top, std::size_t bottom, int uncertain, int min, const char* percent,
                         const char* label, QStringList sublayers) {
        return QStringList{QString::number(year), QString::number(1950 - year), "\"SYNTH 1\"",
                           QString::number(app::DataLength - marked[top]), QString::number(app::DataLength - marked[bottom]),
                           QString::number(mm(marked[top])), QString::number(mm(marked[bottom])),
                           QString::number(1250 + mm(marked[top])), QString::number(1250 + mm(marked[bottom])),
                           thickness(top, bottom), QString::number(uncertain), QString::number(min), QString::number(min + 1),
                           "0.5", percent, "", label, label, "\"\""} + sublayers;
    };
    const QStringList lines = linesOf(dir.filePath("chronology.csv"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1].split(','), row(2013, 0, 2, 1, 1, "33.33", "\"\"", {"", ""}));
    EXPECT_EQ(lines[2].split(','), row(2012, 2, 4, 0, 2, "20", "\"V3\"", {thickness(2, 3), thickness(3, 4)}));
    EXPECT_EQ(lines[3].split(','), row(2011, 4, 5, 0, 3, "14.29", "\"\"", {"", ""}));
    double sum = 0;
    for (int i = 1; i <= 3; ++i) sum += lines[i].split(',')[9].toDouble();
    EXPECT_NEAR(sum, mm(marked[5]) - mm(marked[0]), 1e-9);

    app::frmMain->mnuChronology->trigger();  // offered again as chosen
    EXPECT_TRUE(form.topYearBox->Text() == "2013" && form.compositeTopBox->Text() == "1250" &&
                form.yearLevelsBox->Text() == "1, 9" && form.uncertainLevelsBox->Text() == "2" &&
                form.siteBox->Text() == "Lake X");
    form.formList->setListIndex(1);
    dialogs->answerSave(dir.filePath("chronology.txt"));
    form.saveButton->click();
    const QStringList noaa = QString::fromUtf8(files::readFileBytes(dir.filePath("chronology.txt"))).split('\n');
    EXPECT_TRUE(noaa.contains("#   Site_Name: Lake X") && noaa.contains("depth_mm\tage_CE\tage_BP\tthickness_mm\terror"));
    EXPECT_EQ(noaa[noaa.size() - 2], QStringList({QString::number(1250 + mm(marked[4])), "2011", "-61", thickness(4, 5), "0.5"})
                                         .join('\t'));
    app::frmMain->mnuChronology->trigger();
    form.formList->setListIndex(2);
    dialogs->answerSave(dir.filePath("lipd.csv"));
    form.saveButton->click();
    const QStringList lipd = QString::fromUtf8(files::readFileBytes(dir.filePath("lipd.csv"))).split('\n');
    EXPECT_EQ(lipd, QStringList(noaa.mid(noaa.size() - 4)).replaceInStrings("\t", ","));  // the same three rows
    EXPECT_TRUE(files::readFileBytes(dir.filePath("lipd.jsonld")).contains("\"filename\": \"lipd.csv\""));

    app::frmMain->mnuChronologyPlot->trigger();
    const app::ChronologyPlotForm& plot = app::frmChronologyPlot.get();
    ASSERT_TRUE(plot.isVisible() && plot.figure().calendar && plot.figure().thickness.size() == 3);
    EXPECT_TRUE(plot.figure().thickness[0].uncertain && plot.figure().ageDepth[2].age == 2011 - 0.5);
    keyAt(2, app::DataLength - *(core.boundaries.rbegin() + 6), Qt::Key_1);  // one varve more
    QCoreApplication::processEvents();
    EXPECT_EQ(plot.figure().thickness.size(), 4u);
    for (const char* name : {"plot.png", "plot.svg", "plot.pdf"}) {
        dialogs->answerSave(dir.filePath(name));
        plot.savePictureButton->click();
    }
    EXPECT_EQ(QImage(dir.filePath("plot.png")).width(), 2000);
    EXPECT_TRUE(files::readFileBytes(dir.filePath("plot.svg")).contains("<svg") &&
                files::readFileBytes(dir.filePath("plot.pdf")).startsWith("%PDF"));
}

// Each moving average of the pop-up menu smooths its own window's curve. Fe is 0 but for a spike of
// 1000 at position 200, so the smoothed curve peaks at the spike's column at the hand sum of the
// weights there, and the raw curve shows under it; "<None>" draws the raw curve alone.
TEST_F(XrfImportTest, MovingAveragesSmoothTheirOwnWindowsCurve) {
    openSyntheticCore(300);
    placeSection();
    writeFile(dir.filePath("spike.csv"), samples::scannerTable(300, [](int f, int p) {
                  return QByteArray::number(f == 10 && p == 200 ? 1000 : 0);
              }));
    importXrf(dir.filePath("spike.csv"));
    ASSERT_TRUE(app::XrfLoaded);
    CurveForm& w2 = curveWindow(2);
    w2.elementList->setText("Fe");
    w2.topValueBox->setText("1200");  // the spike clear of the plot's edges
    // The highest curve pixel in the spike's column: the top of the curve. A full redraw spreads
    // the section over the plot's width and the range 1200 .. 0 over its height.
    const auto peakRow = [&](QRgb colour) {
        const QImage image = plot(2)->Image();
        const int x = redrawnColumnOf(200);
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour) return y;
        return -1;
    };
    const auto rowOf = [&](double value) { return qRound((1200 - value) / 1200 * plot(2)->Image().height()); };
    const struct {
        ui::MenuItem* item;
        double peak;  // the smoothed value at the spike: its centre weight times 1000
    } entries[] = {{w2.mnuFlat3, 1000 / 3.0}, {w2.mnuWeighted3, 0.5 * 1000},
                   {w2.mnuFlat5, 0.2 * 1000}, {w2.mnuWeighted5, 0.4 * 1000}};
    for (const auto& e : entries) {
        e.item->trigger();
        for (ui::MenuItem* other : w2.movingAverageItems()) EXPECT_EQ(other->Checked(), other == e.item);
        EXPECT_NEAR(peakRow(kBrightGreen), rowOf(e.peak), 1) << e.item->Caption().toStdString();
        EXPECT_NEAR(peakRow(kRawUnderAverage), rowOf(1000), 1);
        EXPECT_EQ(countPixels(plot(3)->Image(), kRawUnderAverage), 0);  // window 3 unsmoothed
    }
    w2.mnuNone->trigger();
    EXPECT_NEAR(peakRow(kBrightGreen), rowOf(1000), 1);
    EXPECT_EQ(countPixels(plot(2)->Image(), kRawUnderAverage), 0);

    // Flip vertical swaps the range boxes.
    curveWindow(3).topValueBox->setText("7");
    curveWindow(3).mnuFlip->trigger();
    EXPECT_EQ(curveWindow(3).bottomValueBox->Text(), "7");
}

// Ratios with zero denominators leave gaps, and a small negative ratio range settles at once: its
// bottom is not lowered again by later redraws, and no redraw calls itself without end.
TEST_F(XrfImportTest, RatiosLeaveGapsAndASmallRangeSettles) {
    openSyntheticCore(300);
    // kcps (field 9): 0.8 * (p mod 3 - 1), so -0.8, 0, 0.8; Fe (field 10): p mod 4 (0 every fourth).
    writeFile(dir.filePath("ratio.csv"), samples::scannerTable(300, [](int f, int p) {
                  if (f == 9) return QByteArray::number(0.8 * (p % 3 - 1));
                  if (f == 10) return QByteArray::number(p % 4);
                  return QByteArray::number(f);
              }));
    importXrf(dir.filePath("ratio.csv"));
    ASSERT_TRUE(app::XrfLoaded);
    CurveForm& w4 = curveWindow(4);
    w4.elementList->setText("kcps");
    QTest::mouseClick(w4.ratioCheck, Qt::LeftButton, Qt::NoModifier, QPoint(5, w4.ratioCheck->height() / 2));
    EXPECT_TRUE(w4.denominatorList->isVisible());
    w4.denominatorList->setText("Fe");
    w4.denominatorList_Click();
    EXPECT_EQ(w4.Caption(), "4: kcps / Fe");
    EXPECT_EQ(app::CurveValue(4, 4), -9999.0f);  // Fe is 0 at position 4
    EXPECT_EQ(app::CurveValue(4, 5), 0.8f);      // 0.8 * (5 mod 3 - 1) / (5 mod 4)
    EXPECT_EQ(w4.topValueBox->Text(), "0.8");    // a top below 1 is left unrounded ...
    EXPECT_EQ(w4.bottomValueBox->Text(), "0");   // ... and a gap makes the bottom 0
    QTest::mouseClick(w4.ratioCheck, Qt::LeftButton, Qt::NoModifier, QPoint(5, w4.ratioCheck->height() / 2));
    EXPECT_EQ(w4.Caption(), "4: kcps");
    EXPECT_EQ(w4.bottomValueBox->Text(), "-5");  // -0.8 rounded down once, and then it stays
    for (int i = 0; i < 3; ++i) app::RedrawCurves();
    EXPECT_TRUE(w4.bottomValueBox->Text() == "-5" && app::AutoRange(4));
}

// A table of fewer fields than the scanner writes (filename, position and three elements) imports,
// by the button as from the command line; with no field from the ninth on, every window shows Grey.
TEST_F(XrfImportTest, ATableOfFiveFieldsImportsWithGreyInEveryWindow) {
    openSyntheticCore(300);
    QByteArray table = "\"scan\"\r\n\"peakarea\"\r\n\"filename\",\"position (mm)\",\"Fe\",\"Mn\",\"Ti\"\r\n";
    for (int p = 1; p <= 300; ++p)
        table += "\"L" + QByteArray::number(p) + ".spe\"," + QByteArray::number(0.2 * p) + ",1,2,3\r\n";
    importXrf(writeFile(dir.filePath("short.csv"), table));
    ASSERT_TRUE(app::XrfLoaded) << onlyMessage().toStdString();
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(curveWindow(k).Caption(), QString::number(k) + ": Grey");
}

// A scan at 1 mm (every fifth row of the real table) beside the 0.2 mm radiograph and its run record:
// No keeps the refusal; Yes gives each column its nearest measurement at the radiograph's step,
// and a counting saved from it reopens without a question.
TEST_F(XrfImportTest, ATableAtACoarserStepIsPlacedOntoTheColumns) {
    const QStringList lines = QString::fromUtf8(files::readFileBytes(testsupport::realData("Results.txt"))).split("\r\n");
    QStringList coarse = lines.mid(0, 3);
    for (qsizetype i = 3; i < lines.size(); i += 5) coarse << lines[i];
    for (const char* name : {"radiograph.bmp", "document.txt"}) QFile::copy(testsupport::realData(name), dir.filePath(name));
    // A second, stray "Step size" line, as a real record holds: the one that fits is used, and named.
    writeFile(dir.filePath("document.txt"), files::readFileBytes(dir.filePath("document.txt")) + "Step size\t0.188\tmicrons\r\n");
    writeFile(dir.filePath("Results.txt"), coarse.join("\r\n").toUtf8());
    app::MainForm& main = openRadiograph(dir.filePath("radiograph.bmp"));
    dialogs->answerOpen(dir.filePath("Results.txt")).answerMessage(ui::MessageResult::No);
    main.importXrfButton->click();
    const auto asked = dialogs->shownOf(ScriptedDialogs::Kind::Message);
    ASSERT_TRUE(asked.size() == 2 && !app::XrfLoaded);
    EXPECT_TRUE(asked[0].text.startsWith("The XRF table has 451 measurements, one every 1000 micron (451 mm of core); "
                                         "the radiograph has 2251 columns, one every 200 micron (450.2 mm). Their "
                                         "positions come from the scanner's run records") &&
                asked[0].text.contains("document.txt: 2 \"Step size\" lines; line 9 (200 micron) fits the 2251 positions") &&
                asked[0].text.endsWith("\n\nMatch XRF to the radiograph?"));
    EXPECT_TRUE(asked[1].text.startsWith("The XRF data length (451 measurements) does not match"));

    dialogs->answerOpen(dir.filePath("Results.txt")).answerMessage(ui::MessageResult::Yes);
    main.importXrfButton->click();
    ASSERT_TRUE(app::XrfLoaded);
    const files::XrfContents real = files::readXrfTable(files::readFileBytes(testsupport::realData("Results.txt")));
    for (long i = 1; i <= app::DataLength; ++i) {
        EXPECT_NEAR(app::XrfData(2, i).toDouble(), (i - 1) * 0.2, 1e-9) << i;
        for (long f = 9; i % 5 == 1 && f <= app::XrfColumnCount; f += 11)
            EXPECT_EQ(app::XrfData(f, i).toDouble(), real.data(f, i).toDouble()) << i;
    }
    EXPECT_EQ(main.steppingBox->Text(), "200");
    const long first = app::DataLength - app::ViewRight;
    for (long p = first + 2; p < first + 42; p += 2) keyAt(1 + p % 6, p, Qt::Key_1);
    dialogs->answerSave(dir.filePath("work.csv"));
    main.saveAsButton->click();
    restart();
    openRadiograph(dir.filePath("radiograph.bmp"));
    importXrf(dir.filePath("work.csv"));
    ASSERT_TRUE(app::XrfLoaded && dialogs->shownOf(ScriptedDialogs::Kind::Message).empty());
    long marks = 0;
    for (long p = 1; p <= app::DataLength; ++p) marks += app::YearMark(p) == 1;
    EXPECT_EQ(marks, 20);
}

// Rows the scanner marked invalid become gaps in the element curves when Tool > Hide invalid
// measurements is checked; the grey curve and the saved table keep every value, and the choice
// outlasts the program in its settings file.
TEST_F(XrfImportTest, InvalidMeasurementsAreHiddenOnRequest) {
    QStringList lines = QString::fromUtf8(files::readFileBytes(testsupport::realData("Results.txt"))).split("\r\n");
    for (int row = 101; row <= 110; ++row)  // line 3 holds row 1; field 4 is "validity"
        lines[row + 2] = lines[row + 2].section('\t', 0, 2) + "\t0\t" + lines[row + 2].section('\t', 4);
    writeFile(dir.filePath("Results.txt"), lines.join("\r\n").toUtf8());
    app::MainForm& main = openRadiograph(testsupport::realData("radiograph.bmp"));
    importXrf(dir.filePath("Results.txt"));
    ASSERT_TRUE(app::XrfLoaded && main.mnuHideInvalid->Enabled() && !main.mnuHideInvalid->Checked());
    const auto gaps = [](int k) {
        QString g;
        for (long i = 99; i <= 112; ++i) g += app::CurveValue(k, i) == -9999.0f ? '_' : '*';
        return g;
    };
    main.mnuHideInvalid->trigger();
    for (int k = 2; k <= 6; ++k) EXPECT_EQ(gaps(k), "**__________**") << k;
    EXPECT_EQ(gaps(1), "**************");  // the radiograph's grey

    const QString work = dir.filePath("work.csv");
    dialogs->answerSave(work);
    main.saveAsButton->click();
    const files::XrfContents saved = files::readXrfTable(files::readFileBytes(work));
    EXPECT_TRUE(saved.data(4, 105).toDouble() == 0 && saved.data(25, 105).toDouble() != 0);
    main.quitButton->click();
    restart();
    openRadiograph(testsupport::realData("radiograph.bmp"));
    importXrf(work);
    EXPECT_TRUE(app::frmMain->mnuHideInvalid->Checked());
    EXPECT_EQ(gaps(3), "**__________**");
}

// File > Join chronologies...: the sections chosen from the top down (a cancel ends the choice),
// tied at the layer both label (the user picks one of two), saved with the report beside; a file
// that is no chronology stops the join with nothing written.
TEST_F(XrfImportTest, SectionChronologiesAreJoinedThroughTheFileMenu) {
    start();
    const auto section = [this](const QString& name, int first, int last, std::optional<int> year) {
        std::vector<files::ChronologyMark> marks;
        for (int i = first; i <= last; ++i)
            marks.push_back({core::Column(i), core::Millimetres(2.0 * (i - first)), 1, i == 5 ? "T1" : i == 7 ? "F2" : "", {}});
        return writeFile(dir.filePath(name), files::writeChronology(files::buildVarves(marks, {year, name, 0, {}, "3", {}})));
    };
    const QString upper = section("A.csv", 0, 8, 2013), lower = section("B.csv", 4, 12, std::nullopt);
    dialogs->answerOpen(upper).answerOpen(lower).cancelFile().answerInput("F2").answerSave(dir.filePath("AB.csv"));
    app::frmMain->mnuJoin->trigger();
    const QStringList joined = linesOf(dir.filePath("AB.csv"));
    ASSERT_EQ(joined.size(), 1 + 12);  // the varves between boundaries 0 and 12
    EXPECT_TRUE(joined[12].startsWith("2002,-52,\"B.csv\",11,12,14,16,22,24,2,"));  // 2013 - 11, at A's depths
    const QString report = QString::fromUtf8(files::readFileBytes(dir.filePath("AB (join report).txt")));
    EXPECT_TRUE(report.contains("B.csv joined below A.csv: tied at the layer \"F2\".") &&
                report.contains("layer \"T1\": 10 mm composite depth in A.csv, 10 mm in B.csv; year 2008 in A.csv, "
                                "2008 in B.csv; difference 0 years"))
        << report.toStdString();

    // A report that cannot be written: neither file is, and the message says so.
    QDir(dir.path()).mkpath("AB2 (join report).txt");
    dialogs->clearRecord();
    dialogs->answerOpen(upper).answerOpen(lower).cancelFile().answerInput("F2").answerSave(dir.filePath("AB2.csv"));
    app::frmMain->mnuJoin->trigger();
    EXPECT_TRUE(onlyMessage().contains("Neither it nor its report was written") && !QFile::exists(dir.filePath("AB2.csv")));

    writeFile(dir.filePath("bad.csv"), "\"kind\",\"top_mm\"\r\n");
    dialogs->clearRecord();
    dialogs->answerOpen(upper).answerOpen(dir.filePath("bad.csv"));
    app::frmMain->mnuJoin->trigger();
    EXPECT_TRUE(onlyMessage().contains("bad.csv cannot be joined. It is not a chronology"));
    EXPECT_EQ(dialogs->shownOf(ScriptedDialogs::Kind::SaveFile).size(), 0u);
}

// File > Export picture...: the curve windows in use, stacked over a millimetre axis, and the preview,
// at the width asked for, as PNG, SVG or PDF by the name's ending; a width or an ending that cannot
// be used is said so and nothing is written.
TEST_F(XrfImportTest, PicturesOfThePlotsAndThePreviewAreSavedAtTheWidthAsked) {
    openSyntheticCore(400);
    importXrf(dir.filePath("Results.txt"));
    placeSection();
    keyAt(2, 150, Qt::Key_1);
    curveWindow(3).elementList->setText("Fe");
    app::frmMain->mnuExportPicture->trigger();
    app::ExportForm& form = app::frmExport.get();
    ASSERT_TRUE(form.isVisible());
    const auto save = [&](const QString& name, const char* width, int unit = 0, int picture = 0) {
        form.pictureList->setListIndex(picture);
        form.unitList->setListIndex(unit);
        form.widthBox->setText(width);
        dialogs->clearRecord();
        if (QString(width).toDouble() > 0 && QString(width).toDouble() < 20000) dialogs->answerSave(dir.filePath(name));
        form.saveButton->click();
        return QFile::exists(dir.filePath(name)) ? files::readFileBytes(dir.filePath(name)) : QByteArray();
    };
    const QImage png = QImage::fromData(save("plots.png", "800"));
    EXPECT_TRUE(png.width() == 800 && png.height() > 6 * 100 && !form.isVisible());
    app::frmMain->mnuExportPicture->trigger();
    const QByteArray svg = save("plots.svg", "120", 1);
    EXPECT_TRUE(svg.contains("<svg") && svg.contains(">Fe<") && svg.contains(">mm<") && svg.contains("width=\"120."));
    EXPECT_TRUE(save("plots.pdf", "200", 1).startsWith("%PDF"));
    const QImage preview = QImage::fromData(save("preview.png", "1000", 0, 1));
    const QSize shown = app::frmPreview->renderSurface->Image().size();
    EXPECT_NEAR(preview.height(), 1000.0 * shown.height() / shown.width(), 1);
    app::frmMain->mnuExportPicture->trigger();  // a refusal leaves the window open for another try
    for (const auto& [name, width, says] : {std::tuple{"bad.png", "0", "Please type the picture's width"},
                                            {"bad.gif", "500", "A picture is saved as"},
                                            {"bad2.png", "99999", "Please type the picture's width"},
                                            {"huge.png", "19999", "The picture could not be saved to"}}) {
        save(name, width);
        EXPECT_TRUE(onlyMessage().startsWith(says) && form.isVisible()) << name << onlyMessage().toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name;
    }
}
