#pragma once

#include <QString>
#include <functional>

#include "core/Places.h"

#include "compare/ComparisonFile.h"
#include "files/Chronology.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace ui {
class Surface;
}

namespace app {

// "Compare counts": the user's count beside a second count of the same core (a working file opened
// as the reference) or beside the proposed boundaries; the boundaries of each level in both,
// matched and alone, for the whole core and each labelled interval of the user's count.
class CompareForm : public ui::Form {
    Q_OBJECT
  public:
    CompareForm();
    ui::Label* comparedWithLabel;  // what the count is compared with
    ui::CheckBox* proposalsCheck;  // the proposals in place of the reference count
    ui::Label* toleranceLabel;     // "Tolerance (columns):"
    ui::TextBox* toleranceBox;
    ui::Button* compareButton;      // Compare
    ui::Grid* tallyGrid;            // whole core, then each labelled interval
    ui::Label* disagreementsLabel;  // the disagreements, and how to visit them

    void compareButton_Click();
    void proposalsCheck_Click();
    // The table brought up to date with the counts as they are now.
    void refresh();
    long tolerance() const { return tolerance_; }
    // Columns: far beyond any lamina's width (a boundary pairs with one within it, never more).
    static constexpr long kMaxTolerance = 10000;

  private:
    long tolerance_ = 3;
};

// The reference count while one is open (never saved, never counted) and the file it came from.
extern compare::ReferenceCount ReferenceMarks;
extern QString ReferenceFileName;

// File > "Compare with another count...": a working file of the same core as the reference.
void OpenReferenceCount();
// Tool > "Compare with proposals".
void CompareWithProposals();
// File > "Save comparison".
void SaveComparison();
// While a second count is open: how many more years it has than the user's count in the labelled
// interval that holds a display column (the chronology's count difference, with `rule` its year
// levels). Unset without a second count.
std::function<int(core::Column)> ReferenceCountDifference(const files::YearRule& rule);
// A new radiograph or table: the reference belonged to the last core.
void DropReferenceCount();

// After a change of the markers: the open comparison's table is brought up to date once the
// program is idle again (after a run of key presses, once), so a marker key stays as quick as ever.
void ComparisonMayHaveChanged();

// Short ticks from the plots' bottom at the reference's boundaries in view (scaled 0..1 high, in
// display columns), in their levels' colours.
void DrawReferenceTicks(ui::Surface* const* plots, int count);
// "." (direction 1) and "," (-1) over a plot: the section moved to the next or previous boundary
// that has no partner in the other count. False when nothing is compared.
bool JumpToDisagreement(int direction);
// "Copy here": the reference boundary nearest the right click, within the tolerance, becomes the
// user's marker of its level (one Undo takes it back).
void CopyReferenceHere();

}  // namespace app
