// The curve windows' view commands: showing and hiding columns, lining windows up, the tool tips.
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "curves/CurveValues.h"
#include "curves/windows/CurveForm.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/windows/PreviewForm.h"
#include "scales/windows/ScaleForms.h"

namespace app {

namespace {
constexpr double kNoteZone = 0.7;        // notes are found over the lowest 30 % of a plot
constexpr double kNearSquared = 9;       // less than three columns away

void showWindows(std::initializer_list<int> shown, std::initializer_list<int> hidden) {
    for (int k : hidden) curveWindow(k).hide();
    for (int k : shown) curveWindow(k).Show();
}
}  // namespace

std::array<CurveForm*, 3> CurveForm::group() const {
    const int first = number_ <= 3 ? 1 : 4;
    return {&curveWindow(first), &curveWindow(first + 1), &curveWindow(first + 2)};
}

// Every command ends by showing the window it was chosen in, so it stays in front.
void CurveForm::mnuHideOthers_Click() {
    showWindows({}, {1, 2, 3, 4, 5, 6});
    Show();
}
void CurveForm::mnuShowAll_Click() {
    showWindows({1, 2, 3, 4, 5, 6}, {});
    Show();
}
void CurveForm::mnuShow123_Click() {
    showWindows({1, 2, 3}, {4, 5, 6});
    Show();
}
void CurveForm::mnuShow456_Click() {
    showWindows({4, 5, 6}, {1, 2, 3});
    Show();
}

// This window stays; the other two of its column stack above and below it; the scales and the
// elastic scale follow.
void CurveForm::mnuAlign_Click() {
    const auto g = group();
    CurveForm& first = *g[0];
    const double h1 = curveWindow(1).Height();
    for (CurveForm* w : g) w->setLeft(Left());
    first.setTop(Top() - row() * first.Height());
    g[1]->setTop(first.Top() + h1);
    g[2]->setTop(first.Top() + 2 * h1);
    frm1m->setTop(frmPreview->Top() - frm1m->Height());
    frm1m->setLeft(frmPreview->Left());
    if (number_ == 1 && !XrfLoaded) {
        frmScale->setTop(curveWindow(1).Top() + curveWindow(1).Height());
        frmScale->setLeft(curveWindow(1).Left());
    } else if (!(CropOpen && frmCrop->mnuLinkPosition->Checked())) {
        frmScale->setTop(g[2]->Top() + curveWindow(3).Height());
        frmScale->setLeft(g[2]->Left());
    }
    frmElastic->setLeft(first.Left());
    frmElastic->setTop(first.Top() - frmElastic->Height());
    Show();
}

// While marking is off, a double click restacks this window's column around it.
void CurveForm::plot_DblClick() {
    if (PointerActive) return;
    const auto g = group();
    CurveForm& first = *g[0];
    for (CurveForm* w : g) w->setLeft(Left());
    first.setTop(Top() - row() * first.Height());
    g[1]->setTop(first.Top() + first.Height());
    g[2]->setTop(first.Top() + 2 * first.Height());
    for (CurveForm* w : g) {
        if (w != &first && w != this) w->Show();
    }
    if (this != &first) Show();
    first.Show();
}

// The label and note of a nearby position: notes over the lowest 30 % of the plot, else labels.
void CurveForm::showToolTip(double x, double y) {
    const double p = positionAxis().positionOf(core::ColumnPoint(x)).value;
    const auto search = [&](Long count, const core::Array<Long>& positions) {
        for (long k = 1; k <= count && k <= positions.upper(); ++k) {
            const long q = positions(k);
            if ((p - q) * (p - q) >= kNearSquared) {
                plot->setToolTipText(QString());
                continue;
            }
            if (MarkerLabel.contains(q) && MarkerNote.contains(q))
                plot->setToolTipText(curves::markerToolTip(MarkerLabel(q), MarkerNote(q)));
            return true;
        }
        return false;
    };
    bool found = false;
    if (y > kNoteZone * plot->ScaleHeight() && NoteCount > 0) found = search(NoteCount, NotePositions);
    if (!found && LabelCount > 0) search(LabelCount, LabelPositions);
}

}  // namespace app
