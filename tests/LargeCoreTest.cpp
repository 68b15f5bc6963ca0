// A section of today's scanners: 150,000 columns and as many table rows, counted far from both ends
// (positions and columns past 32,767), saved, reopened from the command line, compared, turned into
// a chronology and joined.
#include "AppFixture.h"
#include "app/windows/ChronologyForm.h"
#include "compare/windows/CompareForm.h"
#include "files/Chronology.h"
#include "proposals/windows/ProposeForm.h"

using app::curveWindow;
using core::Variant;

namespace {

constexpr int kWidth = 150000;
constexpr int kFields = 16;  // the table's width does not matter here; its length does

}  // namespace

class LargeCoreTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(kWidth, 40, false, kFields);
        importXrf(dir.filePath("Results.txt"));
        ASSERT_TRUE(app::XrfLoaded && app::XrfData.upper2() >= kWidth && onlyMessage().startsWith("(0"));
    }
    // About 800 columns from display column `left` on the curve windows.
    static void showColumnsFrom(long left) {
        const double twipsPerColumn = app::frmPreview->previewImage->Width() / app::DataLength;
        placeSection(static_cast<double>(left) * twipsPerColumn, 800 * twipsPerColumn);
    }
    // The position `offset` columns into the section (from its right end when negative).
    static long inView(long offset) {
        return app::DataLength - (offset >= 0 ? app::ViewLeft + offset : app::ViewRight + offset);
    }
    // The count as "level L#label N#note" by position.
    static std::map<long, std::string> marks() {
        std::map<long, std::string> m;
        for (long p = 1; p <= app::DataLength; ++p) {
            if (app::YearMark(p) != "---") m[p] = app::YearMark(p).toString().toStdString();
            if (app::isTextSet(app::MarkerLabel(p))) m[p] += "L" + app::MarkerLabel(p).toStdString();
            if (app::isTextSet(app::MarkerNote(p))) m[p] += "N" + app::MarkerNote(p).toStdString();
        }
        return m;
    }
};

TEST_F(LargeCoreTest, IsCountedSavedReopenedComparedAndChronologised) {
    // The section's frame, a few pixels wide in the preview, dragged to either end of the core and
    // widened by its left edge taken from just outside it; the curves follow at each release.
    showColumnsFrom(75000);
    const ui::Shape* frame = app::frmPreview->sectionFrame;
    ASSERT_LT(frame->Width(), radiograph::kNarrowSectionWidth);
    const auto inside = [frame] { return pixels(frame->Left() + 15, 300); };  // a pixel in from its left edge
    drag(app::frmPreview->previewImage, inside(), pixels(-1000, 300));
    EXPECT_TRUE(frame->Left() == 1 && app::ViewLeft < 20 && plot(2)->ScaleLeft() == app::ViewLeft) << app::ViewLeft;
    drag(app::frmPreview->previewImage, inside(), pixels(100000, 300));
    EXPECT_TRUE(app::ViewRight > kWidth - 20 && plot(2)->ScaleLeft() == app::ViewLeft) << app::ViewRight;
    const long columns = app::ViewRight - app::ViewLeft;
    drag(app::frmPreview->previewImage, pixels(frame->Left() - 15, 300), pixels(frame->Left() - 60, 300));
    EXPECT_TRUE(app::ViewRight > kWidth - 20 && app::ViewRight - app::ViewLeft > columns + 300) << app::ViewLeft;

    showColumnsFrom(100000);  // columns 100,000 and positions 50,000 in view
    ASSERT_TRUE(std::abs(app::ViewLeft - 100000) < 100 && app::ViewRight - app::ViewLeft > 700);
    EXPECT_EQ(app::frmMain->sectionColumnsReadout(0)->Caption(), QString::number(app::ViewLeft));
    EXPECT_EQ(app::frmMain->sectionEndPositions(1)->Text(), app::XrfData.get(2, inView(0)).toString());
    const long a = inView(100), b = inView(300), c = inView(500), d = inView(-40);
    keyAt(2, a, Qt::Key_1);
    keyAt(3, b, Qt::Key_2);
    keyAt(4, d, Qt::Key_9);
    keyAt(2, c, Qt::Key_5);
    keyAt(2, c, Qt::Key_Z, Qt::ControlModifier);  // undone
    labelAt(2, b, "T1");
    noteAt(2, c, "slump");
    const std::map<long, std::string> counted{{a, "1"}, {b, "2L#T1"}, {c, "N#slump"}, {d, "9"}};
    ASSERT_EQ(marks(), counted);
    // The preview names the label near its column.
    hover(app::frmPreview->previewImage, pixels(app::frmPreview->previewImage->Width() * (kWidth - b) / kWidth, 100));
    EXPECT_EQ(app::frmPreview->previewImage->toolTip(), "T1");

    saveAs(dir.filePath("work.csv"));
    restart();
    start();
    app::openFromCommandLine(app::parseCommandLine({"--radiograph", dir.filePath("core.bmp"), dir.filePath("work.csv")}));
    ASSERT_TRUE(app::XrfLoaded && app::DataLength == kWidth && app::Saved);
    EXPECT_EQ(marks(), counted);

    // The same count as the reference agrees; a boundary moved far away is visited with ".".
    showColumnsFrom(100000);
    rightClick(2, QPoint(columnOf(a), 30));
    curveWindow(2).mnuDelete->trigger();
    app::YearMark(20000) = Variant(core::Integer{1});
    dialogs->answerOpen(dir.filePath("work.csv"));
    app::frmMain->mnuCompare->trigger();
    app::CompareForm& compare = app::frmCompare.get();
    ASSERT_TRUE(compare.isVisible());
    EXPECT_EQ(compare.disagreementsLabel->Caption().left(14), "2 boundaries w");
    keyAt(2, inView(10), Qt::Key_Period);  // the one only the reference has, then only this count's
    EXPECT_TRUE(app::ViewLeft <= kWidth - a && kWidth - a < app::ViewRight) << app::ViewLeft;
    keyAt(2, inView(10), Qt::Key_Period);
    EXPECT_TRUE(app::ViewLeft <= kWidth - 20000 && kWidth - 20000 < app::ViewRight) << app::ViewLeft;
    keyAt(2, inView(10), Qt::Key_Comma);
    EXPECT_TRUE(app::ViewLeft <= kWidth - a && kWidth - a < app::ViewRight) << app::ViewLeft;
    keyAt(2, a, Qt::Key_1);

    // The chronology: columns and depths past 32,767 as they are.
    app::frmMain->mnuChronology->trigger();
    app::ChronologyForm& form = app::frmChronology.get();
    form.topYearBox->setText("2013");
    form.yearLevelsBox->setText("1, 2");
    form.uncertainLevelsBox->setText("");
    dialogs->answerSave(dir.filePath("chronology.csv"));
    form.saveButton->click();
    const QStringList lines = linesOf(dir.filePath("chronology.csv"));
    const auto depth = [](long p) { return QString::number(0.01 + 0.2 * static_cast<double>(p - 1)); };
    ASSERT_EQ(lines.size(), 3);  // 20,000 to b, b to a
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("2012,-62,\"SYNTH 1\",%1,%2,%3,%4,").arg(kWidth - b).arg(kWidth - a)
                                        .arg(depth(b), depth(a))))
        << lines[2].toStdString();
    // Joined through the File menu below a section above it, tied at T1.
    std::vector<files::ChronologyMark> above;
    for (long i = 0; i <= 4; ++i)
        above.push_back({core::Column(149000 + i), core::Millimetres(3000 + 10.0 * i), 1, i == 3 ? "T1" : "", {}});
    const QString upper = writeFile(dir.filePath("A.csv"), files::writeChronology(files::buildVarves(above, {2020, "A", 0, {}, "3", {}})));
    dialogs->answerOpen(upper).answerOpen(dir.filePath("chronology.csv")).cancelFile().answerSave(dir.filePath("AB.csv"));
    app::frmMain->mnuJoin->trigger();
    const QStringList joined = linesOf(dir.filePath("AB.csv"));
    ASSERT_EQ(joined.size(), 1 + 3 + 1);  // tied at T1: three varves above it, one below
    EXPECT_TRUE(joined.last().contains(QStringLiteral(",%1,%2,").arg(kWidth - b).arg(kWidth - a))) << joined.last().toStdString();
}

// Proposals far from the core's right end.
TEST_F(LargeCoreTest, BoundariesAreProposedFarFromTheRightEnd) {
    showColumnsFrom(120000);
    app::frmMain->mnuPropose->trigger();
    app::frmPropose->proposeButton->click();
    std::vector<int> truth, found;
    for (const int column : core.boundaries)
        if (column > app::ViewLeft + 20 && column < app::ViewRight - 20) truth.push_back(column);
    for (const long p : app::ShownProposals())
        if (kWidth - p > app::ViewLeft + 20 && kWidth - p < app::ViewRight - 20) found.push_back(kWidth - static_cast<int>(p));
    std::sort(found.begin(), found.end());
    EXPECT_FALSE(truth.empty());
    EXPECT_EQ(found, truth);
    keyAt(2, kWidth - truth[0], Qt::Key_Return);  // accepted where it was proposed
    EXPECT_TRUE(app::YearMark(kWidth - truth[0]) == 1);
}
