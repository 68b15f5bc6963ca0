// File > "Compare with another count...": two working files of the synthetic core written by the
// program, one opened as the reference of the other; the disagreements visited with the keys,
// copied, saved; bad references refused.
#include "AppFixture.h"
#include "app/windows/ChronologyForm.h"
#include "compare/windows/CompareForm.h"

using app::curveWindow;
using core::Variant;

namespace {

constexpr long kLength = 400;
QString cell(const ui::Grid* grid, int row, const QString& column) {
    for (int c = 0; c < grid->Cols(); ++c)
        if (grid->Header(c) == column) return grid->Text(row, c);
    return QStringLiteral("(no column %1)").arg(column);
}

}  // namespace

class CompareWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(static_cast<int>(kLength));
        importXrf(dir.filePath("Results.txt"));
        ASSERT_TRUE(app::XrfLoaded && app::frmMain->mnuCompare->Enabled());
    }
    void openReference(const QString& path) {
        dialogs->answerOpen(path);
        app::frmMain->mnuCompare->trigger();
    }
    // A key over window 2 with the pointer inside the section.
    static void keyInView(Qt::Key key) { keyAt(2, kLength - app::ViewLeft - 5, key); }
};

TEST_F(CompareWindowTest, TwoCountsAreComparedVisitedCopiedAndSaved) {
    // The reference: a year every 20 rows. This count: three of them left out, two added (one of
    // level 2), one made a half year, and a labelled lamina.
    for (long p = 20; p < kLength; p += 20) app::YearMark(p) = Variant(core::Integer{1});
    saveAs(dir.filePath("first.csv"));
    for (long p : {60, 200, 340}) app::YearMark(p) = Variant("---");
    app::YearMark(110) = Variant(core::Integer{1});
    app::YearMark(270) = Variant(core::Integer{2});
    app::YearMark(160) = Variant(core::Integer{3});
    app::MarkerLabel(180) = "#T1";
    saveAs(dir.filePath("second.csv"));
    openReference(dir.filePath("first.csv"));

    app::CompareForm& form = app::frmCompare.get();
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(dialogs->shownOf(ui::ScriptedDialogs::Kind::Message).size(), 0u);
    // The tolerance: 0 to 10000 columns; beyond that refused, the last one kept.
    for (const auto& [typed, kept] : {std::pair{"10001", 3L}, {"0", 0L}, {"3", 3L}}) {
        form.toleranceBox->setText(typed);
        form.compareButton->click();
        EXPECT_EQ(form.tolerance(), kept);
    }
    EXPECT_TRUE(onlyMessage().contains("0 or more, at most 10000"));
    const ui::Grid* grid = form.tallyGrid;
    ASSERT_EQ(grid->Rows(), 3);  // whole core, top - T1, T1 - bottom
    EXPECT_EQ(grid->Text(1, 0), "top - T1");
    EXPECT_EQ(cell(grid, 0, "Level-1"), "16 / 19");
    EXPECT_EQ(cell(grid, 0, "Only yours"), "2");
    EXPECT_EQ(cell(grid, 0, "Only reference"), "3");
    // Years are varves, as in the chronology: one fewer than the year boundaries.
    EXPECT_TRUE(cell(grid, 0, "Years") == "15" && cell(grid, 0, "Reference years") == "18");
    EXPECT_TRUE(grid->ToolTipText().contains("varves, each from one boundary of the year levels (1)"));
    EXPECT_EQ(cell(grid, 0, "Difference"), "-3");
    // The year levels the chronology window is given count in the years: level 2 as well.
    app::frmMain->mnuChronology->trigger();
    app::frmChronology->yearLevelsBox->setText("1, 2");
    app::frmChronology->uncertainLevelsBox->setText("");
    dialogs->cancelFile();
    app::frmChronology->saveButton->click();
    form.compareButton->click();
    EXPECT_TRUE(cell(grid, 0, "Years") == "16" && grid->ToolTipText().contains("year levels (1, 2)"));
    EXPECT_EQ(cell(grid, 2, "Only reference"), "2");  // 200 and 340 lie below T1
    // The chronology carries the difference: the reference has a year more above T1 and below it.
    dialogs->answerSave(dir.filePath("chronology.csv"));
    app::frmChronology->saveButton->click();
    const QStringList rows = linesOf(dir.filePath("chronology.csv"));
    ASSERT_TRUE(rows.size() == 1 + 16 && rows[0].split(',')[15] == "\"count_difference_years\"");
    for (const QString& row : rows.mid(1)) EXPECT_EQ(row.split(',')[15], "1") << row.toStdString();

    // The reference's boundaries as short ticks at the plots' bottom in their level's colour.
    placeSection();
    const QImage picture = plot(3)->Image();
    const int x = redrawnColumnOf(200);
    EXPECT_EQ(picture.pixel(x, picture.height() - 2), qRgb(255, 0, 0));
    EXPECT_NE(picture.pixel(x, 2), qRgb(255, 0, 0));

    // "." visits the five unpaired boundaries left to right as the plot shows them, then beeps.
    placeSection(0, app::frmPreview->previewImage->Width() * 40 / kLength);
    const auto beeps = [this] { return dialogs->shownOf(ui::ScriptedDialogs::Kind::Beep).size(); };
    for (long column : {60, 130, 200, 290, 340}) {
        keyInView(Qt::Key_Period);
        EXPECT_TRUE(app::ViewLeft <= column && column < app::ViewRight) << column;
    }
    const long left = app::ViewLeft;
    keyInView(Qt::Key_Period);
    EXPECT_TRUE(beeps() == 1 && app::ViewLeft == left);
    keyInView(Qt::Key_Comma);
    keyInView(Qt::Key_Comma);  // back at row 200, which only the reference holds
    ASSERT_TRUE(app::ViewLeft <= 200 && 200 < app::ViewRight);
    EXPECT_TRUE(app::Saved);

    // "Copy here" takes it into this count; one Undo takes it back.
    rightClick(2, QPoint(columnOf(201), 30));
    curveWindow(2).mnuCopyHere->trigger();
    EXPECT_TRUE(app::YearMark(200) == 1 && !app::Saved);
    curveWindow(2).mnuUndo->trigger();
    EXPECT_TRUE(app::YearMark(200) == "---");

    dialogs->answerSave(dir.filePath("comparison.csv"));
    app::frmMain->mnuSaveComparison->trigger();
    const QList<QByteArray> lines = files::readFileBytes(dir.filePath("comparison.csv")).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 6 + 3);  // header, 5 unpaired and the half year, core and 2 intervals
    for (const QByteArray& line : lines) EXPECT_EQ(line.count(','), lines[0].count(',')) << line.constData();
    EXPECT_TRUE(lines[0].startsWith("\"kind\",\"row\",\"mm\",\"level\",\"reference_level\",\"label_above\""));
    EXPECT_TRUE(lines[1].startsWith("\"boundary\",60,") && lines[1].contains(",,1,\"\",\"T1\","));
    EXPECT_TRUE(lines[3].startsWith("\"boundary\",160,") && lines[3].contains(",3,1,\"\",\"T1\","));
    EXPECT_TRUE(lines[5].startsWith("\"boundary\",270,") && lines[5].contains(",2,,\"T1\",\"\","));
    EXPECT_TRUE(lines[7].startsWith("\"core\","));
}

// Not a count of this core: said why, and both counts stay as they were.
TEST_F(CompareWindowTest, AReferenceOfAnotherCoreOrNoCountIsRefused) {
    app::YearMark(100) = Variant(core::Integer{1});
    saveAs(dir.filePath("mine.csv"));
    const QList<QByteArray> lines = files::readFileBytes(dir.filePath("mine.csv")).split('\n');
    writeFile(dir.filePath("short.csv"), lines.mid(0, 4 + 300).join('\n'));  // 300 of the 400 rows
    const struct {
        QString path;
        const char* says;
    } refused[] = {{dir.filePath("Results.txt"), "XRF data table"},
                   {dir.filePath("core.bmp"), "not a working file"},
                   {dir.filePath("short.csv"), "but this core has 400"},
                   {dir.filePath("missing.csv"), "cannot be read"}};
    for (const auto& r : refused) {
        dialogs->clearRecord();
        openReference(r.path);
        EXPECT_TRUE(onlyMessage().contains(r.says)) << onlyMessage().toStdString();
        EXPECT_TRUE(app::ReferenceFileName.isEmpty() && !app::frmMain->mnuSaveComparison->Enabled());
    }
    EXPECT_TRUE(app::YearMark(100) == 1 && app::Saved);
}
