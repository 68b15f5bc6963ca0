// Tool > Propose boundaries... on the synthetic core, through the window's controls and the keys
// over a plot.
#include "AppFixture.h"
#include "app/windows/ActiveYearsForm.h"
#include "compare/windows/CompareForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "proposals/windows/ProposeForm.h"

using app::curveWindow;

class ProposalsWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(400);
        importXrf(dir.filePath("Results.txt"));
        ASSERT_TRUE(app::XrfLoaded && app::frmMain->mnuPropose->Enabled());
        app::frmMain->mnuPropose->trigger();
    }
    // A key over curve window 2 with the pointer at position p.
    void keyAt(long p, Qt::Key key) {
        hover(plot(2), QPoint(columnOf(p), 30));
        QTest::keyClick(curveWindow(2).windowHandle(), key);
    }
    static long markers() {
        long n = 0;
        for (long p = 1; p <= app::DataLength; ++p) n += app::YearMark(p).isNumeric() ? 1 : 0;
        return n;
    }
};

// Proposals are drawn, never counted; Enter near one (the nearer of two) makes it a level-1 marker that Undo takes
// back, Backspace drops one, a number key's marker takes the place of the one under it, and Clear
// removes the rest. A thickness that is no number is said so.
TEST_F(ProposalsWindowTest, ProposalsAreAcceptedRejectedReplacedAndCleared) {
    app::ProposeForm& form = app::frmPropose.get();
    ASSERT_TRUE(form.isVisible());
    placeSection();  // the whole core in view
    EXPECT_EQ(form.curveList->List(0), "1: Grey");
    form.proposeButton->click();
    const std::vector<long> shown = app::ShownProposals();
    std::vector<int> columns;  // where the plot shows them: the core's own boundaries
    for (auto p = shown.rbegin(); p != shown.rend(); ++p) columns.push_back(static_cast<int>(app::DataLength - *p));
    EXPECT_EQ(columns, core.boundaries);
    EXPECT_EQ(form.resultLabel->Caption(), QString("%1 boundaries proposed.").arg(app::ProposedPositions.size()));
    EXPECT_EQ(markers(), 0);
    EXPECT_TRUE(app::Saved);
    app::frmMain->mnuCompareProposals->trigger();  // the comparison's matcher serves the proposals too
    EXPECT_EQ(app::frmCompare->tallyGrid->Header(3), "Only reference");
    EXPECT_EQ(app::frmCompare->tallyGrid->Text(0, 3).toULong(), app::ProposedPositions.size());
    const auto dashes = [](QWidget* picture) {  // the dashes in its top row, in the proposals' own colour
        return countPixels(picture->grab().toImage().copy(0, 1, picture->width(), 1), qRgb(255, 0, 255));
    };
    EXPECT_EQ(dashes(plot(3)), static_cast<int>(shown.size()));  // a dashed line at each
    EXPECT_GE(dashes(app::frmPreview->previewImage),
              static_cast<int>(shown.size()) * 9 / 10);  // a few share a pixel column

    keyAt(shown[0], Qt::Key_Return);  // at the proposal
    keyAt(shown[1] + 2, Qt::Key_Return);  // two columns off
    EXPECT_TRUE(app::YearMark(shown[0]) == 1 && app::YearMark(shown[1]) == 1 && markers() == 2 && !app::Saved);
    curveWindow(2).mnuUndo->trigger();
    EXPECT_EQ(markers(), 1);
    keyAt(shown[2], Qt::Key_Backspace);
    keyAt(shown[3] - 1, Qt::Key_3);
    EXPECT_TRUE(app::YearMark(shown[3] - 1) == 3 && markers() == 2);
    const std::vector<long> left = app::ShownProposals();
    for (long p : {shown[0], shown[1], shown[2], shown[3]}) EXPECT_EQ(std::count(left.begin(), left.end(), p), 0) << p;
    EXPECT_EQ(left.size(), shown.size() - 4);
    EXPECT_EQ(app::frmActiveYears->proposedLabel->Caption(), QString("Proposed: %1").arg(left.size()));
    form.acceptAllButton->click();  // accept all in view: one change, one Undo
    EXPECT_TRUE(markers() == 2 + static_cast<long>(left.size()) && app::YearMark(left.back()) == 1);
    curveWindow(1).mnuUndo->trigger();
    EXPECT_TRUE(markers() == 2 && app::ShownProposals() == left);
    curveWindow(1).mnuRedo->trigger();  // redone whole, and undone again
    EXPECT_TRUE(markers() == 2 + static_cast<long>(left.size()) && app::ShownProposals().empty());
    curveWindow(1).mnuUndo->trigger();
    form.clearButton->click();
    EXPECT_TRUE(app::ProposedPositions.empty() && app::frmActiveYears->proposedLabel->isHidden());
    keyAt(shown[4], Qt::Key_Return);
    EXPECT_EQ(markers(), 2);
    app::ProposedPositions = {200, 203};  // two in reach of the pointer at 202: the nearer is taken
    keyAt(202, Qt::Key_Return);
    EXPECT_TRUE(app::YearMark(203) == 1 && markers() == 3);

    form.thinnestBox->setText("thin");
    form.proposeButton->click();
    EXPECT_EQ(onlyMessage(), "Please type the smallest lamina thickness in millimetres (a number above 0).");
}
