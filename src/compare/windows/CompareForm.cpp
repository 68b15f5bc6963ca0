#include "compare/windows/CompareForm.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "files/Chronology.h"
#include "files/FieldSyntax.h"
#include "files/TextFile.h"
#include "files/XrfFile.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "ui/Dialogs.h"
#include "ui/Surface.h"

namespace app {

using ui::make;

compare::ReferenceCount ReferenceMarks;
QString ReferenceFileName;

namespace {

const QString kTitle = QStringLiteral("Compare counts");
const QString kCsvFilter = QStringLiteral("DataFile(*.csv)|*.csv");
constexpr long kDefaultTolerance = 3;
constexpr double kTickHeight = 0.1;  // of the plot's height, from its bottom
// The window's layout (twips).
constexpr double kWidth = 12600, kHeight = 5400, kLeft = 120, kTop = 120, kRowStep = 450;

bool comparingProposals() {
    return frmCompare.exists() && frmCompare->proposalsCheck->Value() == 1;
}

bool hasReference() {
    return !ReferenceFileName.isEmpty();
}

// Both counts, matched, as they are now.
struct Current {
    std::vector<compare::Boundary> own, reference;
    std::vector<std::pair<long, QString>> labels;
    compare::Matching matching;
};

Current currentComparison(bool againstProposals = comparingProposals()) {
    Current c;
    for (long p = 1; p <= DataLength; ++p)
        if (const int level = MarkerLevel(core::Position(p))) c.own.push_back({core::Position(p), level});
    if (againstProposals) {
        for (const long p : ProposedPositions) c.reference.push_back({p, 0});
    } else {
        c.reference = ReferenceMarks.boundaries;
    }
    c.labels = compare::labelledPositions(DataLength,
                                          [](long p) { return MarkerLabel.contains(p) ? MarkerLabel(p) : QString(); });
    c.matching = compare::matchBoundaries(c.own, c.reference,
                                          frmCompare.exists() ? frmCompare->tolerance() : kDefaultTolerance);
    return c;
}

compare::Comparison tally(const Current& c, const files::YearRule& rule = ChronologyYearRule()) {
    return compare::tallyComparison(c.own, c.reference, c.matching, DataLength, c.labels,
                                    [&rule](int level) { return rule.isYear(level); });
}

// The display column of the section's middle, and the section moved so that column x lies there,
// as a drag on the preview leaves it.
void showColumn(long x) {
    PreviewForm& preview = frmPreview.get();
    const double width = preview.sectionFrame->Width();
    const double columns = width * ColumnsPerPreviewTwip;
    const double left = std::clamp(x - columns / 2, 0.0, std::max(0.0, DataLength - columns));
    for (ui::Shape* frame : {preview.sectionFrame, frmRawImage->sectionFrame})
        frame->place(left / ColumnsPerPreviewTwip, frame->Top(), width, frame->Height());
    RenderSection();
}

long lastJump = -1;  // the display column last jumped to

void enableCopyHere(bool on) {
    for (FormRef<CurveForm>* w : {&frmCurve1, &frmCurve2, &frmCurve3, &frmCurve4, &frmCurve5, &frmCurve6})
        if (w->exists()) (*w)->mnuCopyHere->setEnabled(on);
}

void showCompareWindow(bool proposals) {
    CompareForm& form = frmCompare.get();
    form.proposalsCheck->setEnabled(hasReference());
    form.proposalsCheck->setValue(proposals || !hasReference() ? 1 : 0);
    frmMain->mnuSaveComparison->setEnabled(true);
    form.Show();
    form.refresh();
    RedrawPlots();
}

}  // namespace

CompareForm::CompareForm() : ui::Form(ui::Unit::Twips) {
    setCaption(kTitle);
    Move(4000, 5000, kWidth, kHeight);
    QWidget* c = client();
    comparedWithLabel = make<ui::Label>(c);
    comparedWithLabel->place(kLeft, kTop, kWidth - 2 * kLeft, 285);
    proposalsCheck = make<ui::CheckBox>(c, QStringLiteral("Compare with the proposed boundaries"));
    proposalsCheck->place(kLeft, kTop + kRowStep, 4200, 345);
    toleranceLabel = make<ui::Label>(c, QStringLiteral("Tolerance (columns):"));
    toleranceLabel->place(4500, kTop + kRowStep + 30, 1800, 285);
    toleranceBox = make<ui::TextBox>(c, QString::number(kDefaultTolerance));
    toleranceBox->place(6360, kTop + kRowStep, 700, 345);
    compareButton = make<ui::Button>(c, QStringLiteral("Compare"));
    compareButton->place(7300, kTop + kRowStep - 15, 1200, 375);
    compareButton->setDefault(true);
    tallyGrid = make<ui::Grid>(c);
    tallyGrid->place(kLeft, kTop + 2 * kRowStep, kWidth - 2 * kLeft - 120, kHeight - 4 * kRowStep - 300);
    disagreementsLabel = make<ui::Label>(c);
    disagreementsLabel->place(kLeft, kHeight - 2 * kRowStep - 180, kWidth - 2 * kLeft - 120, 285);
    connect(compareButton, &ui::Button::Click, this, &CompareForm::compareButton_Click);
    connect(proposalsCheck, &ui::CheckBox::Click, this, &CompareForm::proposalsCheck_Click);
}

void CompareForm::compareButton_Click() {
    bool ok = false;
    const long typedTolerance = toleranceBox->Text().trimmed().toLong(&ok);
    if (!ok || typedTolerance < 0 || typedTolerance > kMaxTolerance) {
        ui::dialogs().messageBox(
            QStringLiteral("Please type the tolerance in columns (a whole number, 0 or more, at most %1).")
                .arg(kMaxTolerance),
            ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
        return;
    }
    tolerance_ = typedTolerance;
    refresh();
}

void CompareForm::proposalsCheck_Click() {
    lastJump = -1;
    refresh();
    RedrawPlots();
}

void CompareForm::refresh() {
    comparedWithLabel->setCaption(proposalsCheck->Value() == 1
                                      ? QStringLiteral("Your count against the proposed boundaries")
                                      : QStringLiteral("Your count against ") +
                                            QDir::toNativeSeparators(ReferenceFileName));
    const files::YearRule rule = ChronologyYearRule();
    tallyGrid->setToolTipText(
        QStringLiteral("Each level: boundaries in your count / in the other. Years: varves, each "
                       "from one boundary of the year levels (%1) to the next, as in the chronology")
            .arg(files::levelList(rule.years)));
    const Current c = currentComparison();
    const compare::Comparison comparison = tally(c);
    // The levels either count uses, each a column "yours / reference".
    std::vector<int> levels;
    for (int level = 1; level <= compare::kLevels; ++level) {
        const auto at = static_cast<std::size_t>(level);
        if (comparison.whole.own[at] + comparison.whole.reference[at] > 0) levels.push_back(level);
    }
    QStringList header{QStringLiteral("Interval")};
    for (const int level : levels) header << QStringLiteral("Level-%1").arg(level);
    header << QStringLiteral("Matched") << QStringLiteral("Only yours") << QStringLiteral("Only reference")
           << QStringLiteral("Years") << QStringLiteral("Reference years") << QStringLiteral("Difference");
    const auto row = [&levels](const QString& name, const compare::Tally& t) {
        QStringList cells{name};
        for (const int level : levels) {
            const auto at = static_cast<std::size_t>(level);
            cells << QStringLiteral("%1 / %2").arg(t.own[at]).arg(t.reference[at]);
        }
        for (const int n : {t.matched, t.onlyOwn, t.onlyReference, t.ownYears, t.referenceYears, t.yearDifference()})
            cells << QString::number(n);
        return cells;
    };
    std::vector<QStringList> rows{row(QStringLiteral("Whole core"), comparison.whole)};
    QString from = QStringLiteral("top");
    for (const compare::Interval& interval : comparison.intervals) {
        const QString to = interval.label.isEmpty() ? QStringLiteral("bottom") : files::typedText(interval.label);
        rows.push_back(row(from + QStringLiteral(" - ") + to, interval.tally));
        from = to;
    }
    tallyGrid->setTable(header, rows);
    const std::size_t alone = c.matching.onlyOwn.size() + c.matching.onlyReference.size();
    disagreementsLabel->setCaption(
        alone == 0 ? QStringLiteral("The counts agree.")
                   : QStringLiteral("%1 boundaries without a partner: \".\" and \",\" over a plot "
                                    "visit them.")
                         .arg(alone));
}

void OpenReferenceCount() {
    QString path;
    try {
        path = ui::dialogs().openFile({QStringLiteral("Compare with another count"),
                                       kCsvFilter + QStringLiteral("|All files|*.*"), WorkingFileName, false});
        compare::ReferenceCount count =
            compare::readReferenceCount(files::readFileBytes(path, files::kMaxTableBytes), static_cast<int>(DataLength));
        ReferenceMarks = std::move(count);
        ReferenceFileName = path;
    } catch (const core::CancelledError&) {
        return;
    } catch (const files::XrfReadError& e) {
        ui::dialogs().messageBox(
            QStringLiteral("%1 cannot be compared. %2").arg(QDir::toNativeSeparators(path), e.reason),
            ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
        return;
    } catch (const core::RuntimeError& e) {
        ui::dialogs().messageBox(QStringLiteral("%1 cannot be read (%2).")
                                     .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())),
                                 ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
        return;
    }
    lastJump = -1;
    enableCopyHere(true);
    showCompareWindow(false);
}

void CompareWithProposals() {
    showCompareWindow(true);
}

std::function<int(core::Column)> ReferenceCountDifference(const files::YearRule& rule) {
    if (!hasReference()) return {};
    return [intervals = tally(currentComparison(/*againstProposals=*/false), rule).intervals,
            axis = positionAxis()](core::Column column) {
        return -intervals[compare::intervalHolding(intervals, axis.positionOf(column).value)].tally.yearDifference();
    };
}

void DropReferenceCount() {
    ReferenceMarks = {};
    ReferenceFileName.clear();
    lastJump = -1;
    enableCopyHere(false);
    frmMain->mnuSaveComparison->setEnabled(false);
    if (frmCompare.exists()) frmCompare->Hide();
}

void SaveComparison() {
    if (!frmCompare.exists()) return;
    QString path;
    try {
        const QString initial = compare::comparisonFileName(WorkingFileName);
        if (initial.isEmpty()) throw core::FileError(core::kBadFileName, "Bad file name");
        path = ui::dialogs().saveFile({QStringLiteral("Save comparison"), kCsvFilter, initial, true});
    } catch (const core::RuntimeError&) {
        return;
    }
    const auto positionMm = [](core::Position p) { return frmMain->positionMm(p); };
    try {
        const Current c = currentComparison();
        const auto found = compare::disagreements(c.own, c.reference, c.matching, true);
        files::saveFileBytes(path, compare::writeComparison(found, tally(c), c.labels, positionMm));
    } catch (const core::RuntimeError& e) {
        ui::dialogs().messageBox(QStringLiteral("The comparison could not be saved to %1 (%2). Any earlier file of "
                                                "that name is unchanged.")
                                     .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())),
                                 ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
    }
}

void ComparisonMayHaveChanged() {
    RefreshWhenIdle(frmCompare);
}

void DrawReferenceTicks(ui::Surface* const* plots, int count) {
    if (!hasReference() || comparingProposals()) return;
    for (const compare::Boundary& b : ReferenceMarks.boundaries) {
        const long x = positionAxis().columnOf(b.position).value;
        if (x < ViewLeft || x >= ViewRight) continue;
        const auto colour = static_cast<core::Colour>(LevelColour(b.level).toDouble());
        for (int k = 0; k < count; ++k)
            plots[k]->line(static_cast<double>(x), 1 - kTickHeight, static_cast<double>(x), 1, colour);
    }
}

bool JumpToDisagreement(int direction) {
    if (!frmCompare.exists() || !frmCompare->isVisible() || (!hasReference() && !comparingProposals())) return false;
    const Current c = currentComparison();
    std::vector<long> columns;  // left to right as the plots show them
    for (const auto& d : compare::disagreements(c.own, c.reference, c.matching, false))
        columns.push_back(positionAxis().columnOf(d.position).value);
    std::sort(columns.begin(), columns.end());
    // From the last one visited while it is in view, else from the section's edge.
    const bool fromLast = lastJump >= ViewLeft && lastJump < ViewRight;
    const long from = fromLast ? lastJump : direction > 0 ? ViewLeft - 1 : ViewRight;
    long to = -1;
    if (direction > 0) {
        const auto next = std::upper_bound(columns.begin(), columns.end(), from);
        if (next != columns.end()) to = *next;
    } else {
        const auto next = std::lower_bound(columns.begin(), columns.end(), from);
        if (next != columns.begin()) to = *std::prev(next);
    }
    if (to < 0) {
        ui::dialogs().beep();  // no further one that way
        return true;
    }
    lastJump = to;
    showColumn(to);
    frmCompare->refresh();
    return true;
}

void CopyReferenceHere() {
    const auto at = markerAt(positionOf(clickX()));
    const compare::Boundary* nearest = nullptr;
    if (at && hasReference() && !comparingProposals() && PointerActive) {
        for (const compare::Boundary& b : ReferenceMarks.boundaries) {
            if (std::abs(b.position - *at) <= frmCompare->tolerance() &&
                (!nearest || std::abs(b.position - *at) < std::abs(nearest->position - *at)))
                nearest = &b;
        }
    }
    if (!nearest || !YearMark.contains(nearest->position)) {
        ui::dialogs().beep();
        return;
    }
    PushUndo(Variant(static_cast<double>(nearest->position.value)), YearMark(nearest->position));
    YearMark(nearest->position) = Variant(static_cast<Integer>(nearest->level));
    DropProposalsAt(nearest->position);
    MarkCountUnsaved();
    RedrawPlots();
    UpdateActiveYears();
}

}  // namespace app
