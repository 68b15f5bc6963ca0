#include "proposals/windows/ProposeForm.h"

#include <algorithm>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "core/Arithmetic.h"
#include "curves/CurveValues.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "proposals/Proposals.h"
#include "ui/PictureBox.h"
#include "ui/Dialogs.h"

namespace app {

using ui::make;

std::vector<long> ProposedPositions;
long ProposalThinnest = 0;

namespace {

constexpr double kDefaultThinnestMm = 0.5;
constexpr long kNearColumns = 3;       // Enter and Backspace take a proposal this near the pointer
constexpr int kDashPixels = 4;         // dashes and gaps of the proposal lines
constexpr int kPreviewDashes = 4;      // over the preview's height
const QString kTitle = QStringLiteral("Propose boundaries");
// The window's layout (twips).
constexpr double kWidth = 5640, kLeft = 120, kTop = 120, kRowStep = 450, kNames = 2100, kControls = 2280;
constexpr double kControlWidth = 3000;
// An undo entry of accepted proposals: this in place of a position, the change's number as the value.
const QString kAcceptedEntry = QStringLiteral("accepted proposals");

// Each accepted change: the positions and what they held before.
struct AcceptedChange {
    std::vector<std::pair<long, Variant>> before;
};
std::map<long, AcceptedChange> acceptedChanges;
long nextChange = 1;

// One colour no level and no label or note tick uses.
core::Colour proposalColour() {
    constexpr core::Colour kCandidates[] = {core::rgb(255, 0, 255), core::rgb(255, 128, 0), core::rgb(128, 128, 255),
                                            core::rgb(255, 255, 128), core::rgb(0, 128, 255)};
    for (const core::Colour c : kCandidates) {
        bool used = false;
        for (int level = 1; level <= 9 && !used; ++level) used = LevelColour(level).toDouble() == static_cast<double>(c);
        if (!used) return c;
    }
    return kCandidates[0];
}

// The values curve window k plots (proposing is offered with the XRF data, so every window has its
// curve values), left to right over display columns first .. last - 1.
std::vector<float> plottedValues(int k, long first, long last) {
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(std::max(0L, last - first)));
    const core::PositionAxis axis = positionAxis();
    for (long x = first; x < last; ++x) {
        const long p = axis.positionOf(core::Column(x)).value;
        const bool held = k <= CurveValue.upper1() && p >= 1 && p <= CurveValue.upper2();
        values.push_back(held ? CurveValue(k, p) : curves::kMissingValue);
    }
    return values;
}

// The display column of a proposed position.
long columnOf(long p) {
    return positionAxis().columnOf(core::Position(p)).value;
}

bool nearMarker(long p) {
    for (long q = std::max(1L, p - ProposalThinnest + 1); q <= p + ProposalThinnest - 1; ++q) {
        if (YearMark.contains(q) && YearMark(q).isNumeric() && YearMark(q).toDouble() >= 1) return true;
    }
    return false;
}

// The shown proposal nearest the pointer, within a few columns; -1 for none.
long proposalAtPointer() {
    const long at = core::nearestPosition(positionOf(PointerX)).value;
    long nearest = -1;
    for (const long p : ShownProposals()) {
        if (std::abs(p - at) <= kNearColumns && (nearest < 0 || std::abs(p - at) < std::abs(nearest - at))) nearest = p;
    }
    return nearest;
}

}  // namespace

ProposeForm::ProposeForm() : ui::Form(ui::Unit::Twips) {
    setCaption(kTitle);
    Move(6000, 6000, kWidth, 3600);
    QWidget* c = client();
    // Two columns: the names, then the controls; the buttons in one row under them.
    const auto row = [](int k) { return kTop + k * kRowStep; };
    curveLabel = make<ui::Label>(c, QStringLiteral("Curve:"));
    curveLabel->place(kLeft, row(0) + 30, kNames, 285);
    curveList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    curveList->place(kControls, row(0), kControlWidth, 345);
    transitionLabel = make<ui::Label>(c, QStringLiteral("Boundary:"));
    transitionLabel->place(kLeft, row(1) + 30, kNames, 285);
    transitionList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    transitionList->place(kControls, row(1), kControlWidth, 345);
    // Left to right as the plot shows it; light is a higher value.
    for (const char* item : {"dark to light", "light to dark", "either"})
        transitionList->AddItem(QString::fromLatin1(item));
    transitionList->setListIndex(2);
    thinnestLabel = make<ui::Label>(c, QStringLiteral("Smallest lamina (mm):"));
    thinnestLabel->place(kLeft, row(2) + 30, kNames, 285);
    thinnestBox = make<ui::TextBox>(c, QString::number(kDefaultThinnestMm));
    thinnestBox->place(kControls, row(2), 1000, 345);
    sensitivityLabel = make<ui::Label>(c, QStringLiteral("Sensitivity:"));
    sensitivityLabel->place(kLeft, row(3) + 30, kNames, 285);
    sensitivitySlider = make<ui::Slider>(c, 0, 100);
    sensitivitySlider->place(kControls, row(3), kControlWidth, 345);
    sensitivitySlider->setValue(proposals::ProposalSettings::kDefaultSensitivity);
    wholeCoreCheck = make<ui::CheckBox>(c, QStringLiteral("Whole core"));
    wholeCoreCheck->place(kLeft, row(4), 2000, 345);
    proposeButton = make<ui::Button>(c, QStringLiteral("Propose"));
    proposeButton->place(kLeft, row(5), 1200, 375);
    proposeButton->setDefault(true);
    acceptAllButton = make<ui::Button>(c, QStringLiteral("Accept all in view"));
    acceptAllButton->place(kLeft + 1320, row(5), 2040, 375);
    clearButton = make<ui::Button>(c, QStringLiteral("Clear proposals"));
    clearButton->place(kLeft + 3480, row(5), 1800, 375);
    resultLabel = make<ui::Label>(c);
    resultLabel->place(kLeft, row(6), kWidth - 2 * kLeft - 120, 285);
    connect(proposeButton, &ui::Button::Click, this, &ProposeForm::proposeButton_Click);
    connect(acceptAllButton, &ui::Button::Click, this, &ProposeForm::acceptAllButton_Click);
    connect(clearButton, &ui::Button::Click, this, &ProposeForm::clearButton_Click);
}

void ProposeForm::Form_Load() {
    // The curves as the windows show them now; the grey profile's window first.
    const int chosen = std::max(0, curveList->ListIndex());
    curveList->Clear();
    for (int k = 1; k <= 6; ++k) {
        const QString caption = curveWindow(k).Caption();
        curveList->AddItem(caption.isEmpty() ? QString::number(k) : caption);
    }
    curveList->setListIndex(std::min(chosen, curveList->ListCount() - 1));
}

void ProposeForm::proposeButton_Click() {
    bool ok = false;
    const double mm = thinnestBox->Text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const double stepping = core::val(frmMain->steppingBox->Text());
    QString problem;
    if (!ok || !(mm > 0) || !std::isfinite(mm)) {
        problem = QStringLiteral("Please type the smallest lamina thickness in millimetres (a number above 0).");
    } else if (!(stepping > 0)) {
        problem = QStringLiteral("The stepping (micron per pixel) turns millimetres into columns: please type it "
                                 "into its box in the main window.");
    }
    if (!problem.isEmpty()) {
        ui::dialogs().messageBox(problem, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, kTitle);
        return;
    }
    const long first = wholeCoreCheck->Value() == 1 ? 0 : ViewLeft;
    const long last = wholeCoreCheck->Value() == 1 ? DataLength : std::min<long>(ViewRight, DataLength);
    const double thinnest = core::columnsOfLength(core::Millimetres(mm), stepping);
    const proposals::Transition transitions[] = {proposals::Transition::Rising, proposals::Transition::Falling,
                                                 proposals::Transition::Either};
    const std::vector<float> values = plottedValues(curveList->ListIndex() + 1, first, last);
    const auto found = proposals::proposeBoundaries(
        values,
        {transitions[std::clamp(transitionList->ListIndex(), 0, 2)], thinnest, sensitivitySlider->Value()});
    ProposalThinnest = std::max(1L, std::lround(thinnest));
    ProposedPositions.clear();
    for (const auto& f : found)
        ProposedPositions.push_back(positionAxis().positionOf(core::Column(first + f.column)).value);
    std::sort(ProposedPositions.begin(), ProposedPositions.end());
    resultLabel->setCaption(found.empty() ? QStringLiteral("No boundaries proposed.")
                                          : QStringLiteral("%1 boundaries proposed.").arg(found.size()));
    RedrawPlots();
    UpdateActiveYears();
}

void ProposeForm::acceptAllButton_Click() {
    AcceptAllProposalsInView();
}

void ProposeForm::clearButton_Click() {
    ProposedPositions.clear();
    resultLabel->setCaption(QString());
    RedrawPlots();
    UpdateActiveYears();
}

std::vector<long> ShownProposals() {
    std::vector<long> shown;
    for (const long p : ProposedPositions) {
        const long x = columnOf(p);
        if (x >= ViewLeft && x < ViewRight && !nearMarker(p)) shown.push_back(p);
    }
    return shown;
}

void DrawProposals(ui::Surface* const* plots, int count) {
    if (ProposedPositions.empty()) return;
    const core::Colour colour = proposalColour();
    const std::vector<long> shown = ShownProposals();
    for (int k = 0; k < count; ++k) {
        ui::Surface* plot = plots[k];
        const double dash = static_cast<double>(kDashPixels) / std::max(1, plot->heightPixels());
        for (const long p : shown) {
            const double x = static_cast<double>(columnOf(p));
            for (double y = 0; y < 1; y += 2 * dash) plot->line(x, y, x, std::min(1.0, y + dash), colour);
        }
    }
}

void DrawProposalsOnPreview(ui::PictureBox* picture) {
    if (ProposedPositions.empty() || DataLength < 1) return;
    const core::Colour colour = proposalColour();
    const double height = picture->ScaleHeight(), width = picture->ScaleWidth();
    const double dash = height / kPreviewDashes / 2;
    for (const long p : ProposedPositions) {
        if (nearMarker(p)) continue;
        const double x = static_cast<double>(columnOf(p)) * width / DataLength;
        for (int d = 0; d < kPreviewDashes; ++d) picture->Line(x, 2 * d * dash, x, (2 * d + 1) * dash, colour);
    }
}

bool AcceptProposalAtPointer() {
    const long p = proposalAtPointer();
    if (p < 0 || !PointerActive) return false;
    // As quick as a marker key: the marker's line covers the proposal's until the next redraw.
    ClickX = Variant(static_cast<double>(columnOf(p)));
    SetMarker(1);
    return true;
}

bool RejectProposalAtPointer() {
    const long p = proposalAtPointer();
    if (p < 0) return false;
    std::erase(ProposedPositions, p);
    RedrawPlots();
    UpdateActiveYears();
    return true;
}

void AcceptAllProposalsInView() {
    const std::vector<long> shown = ShownProposals();
    if (shown.empty()) return;
    AcceptedChange change;
    for (const long p : shown) {
        if (!YearMark.contains(p)) continue;
        change.before.emplace_back(p, YearMark(p));
        YearMark(p) = Variant(Integer{1});
        std::erase(ProposedPositions, p);
    }
    const long number = nextChange++;
    acceptedChanges.emplace(number, std::move(change));
    PushUndo(Variant(kAcceptedEntry), Variant(static_cast<double>(number)));
    MarkCountUnsaved();
    RedrawPlots();
    UpdateActiveYears();
}

bool UndoAcceptedProposals(const Variant& position, const Variant& value) {
    if (position.isNumeric() || position.toString() != kAcceptedEntry || !value.isNumeric()) return false;
    const auto change = acceptedChanges.find(static_cast<long>(value.toDouble()));
    if (change == acceptedChanges.end()) return true;  // from a document no longer open: nothing to do
    for (const auto& [p, before] : change->second.before) {
        if (!YearMark.contains(p)) continue;
        YearMark(p) = before;
        ProposedPositions.insert(std::lower_bound(ProposedPositions.begin(), ProposedPositions.end(), p), p);
    }
    return true;  // the change is kept for Redo
}

bool RedoAcceptedProposals(const Variant& position, const Variant& value) {
    if (position.isNumeric() || position.toString() != kAcceptedEntry || !value.isNumeric()) return false;
    const auto change = acceptedChanges.find(static_cast<long>(value.toDouble()));
    if (change == acceptedChanges.end()) return true;
    for (const auto& [p, before] : change->second.before) {
        if (!YearMark.contains(p)) continue;
        YearMark(p) = Variant(Integer{1});
        std::erase(ProposedPositions, p);
    }
    return true;
}

void DropProposalsAt(core::Position position) {
    std::erase_if(ProposedPositions,
                  [position](long p) { return std::abs(p - position.value) <= kNearColumns; });
}

}  // namespace app
