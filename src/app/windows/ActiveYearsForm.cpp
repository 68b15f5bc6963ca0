#include "app/windows/ActiveYearsForm.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "compare/windows/CompareForm.h"
#include "pointer/windows/Pointer.h"
#include "proposals/windows/ProposeForm.h"

namespace app {

using ui::make;

namespace {
constexpr double kRowStep = 240;
constexpr double kButtonFromBottom = 530, kButtonHeight = 255;
}  // namespace

ActiveYearsForm::ActiveYearsForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Active years"));
    setWindowFlag(Qt::Tool);
    setFrameAllowance(8, 18);
    Move(120, 8760, kWidth, kCollapsedHeight);
    QWidget* c = client();
    levelsFrame = make<ui::Frame>(c);
    levelsFrame->place(60, 0, 2100, 2220);
    levelSwatches = ui::ControlArray<ui::Shape>(1, 9, [this](long k) {
        auto* swatch = make<ui::Shape>(levelsFrame, ui::Shape::Kind::Square);
        swatch->setFilled(true);
        swatch->place(120, 120 + kRowStep * (k - 1), 135, 135);
        return swatch;
    });
    ui::ControlArray<ui::Label>* arrays[] = {&level1Labels, &level2Labels, &level3Labels,
                                             &level4Labels, &level5Labels, &level6Labels,
                                             &level7Labels, &level8Labels, &level9Labels};
    for (int k = 1; k <= 9; ++k) {
        *arrays[k - 1] = ui::ControlArray<ui::Label>(0, 1, [this, k](long i) {
            auto* label = make<ui::Label>(
                levelsFrame, i == 0 ? QStringLiteral("Level-%1: ").arg(k) : QStringLiteral("888"));
            label->place(i == 0 ? 360 : 1380, 60 + kRowStep * (k - 1), i == 0 ? 1000 : 600, 240);
            if (i == 1) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return label;
        });
    }
    level6Labels(0)->hide();
    level6Labels(1)->hide();
    moreButton = make<ui::Button>(c, QStringLiteral("More"));
    moreButton->place(60, kCollapsedHeight - kButtonFromBottom, 2100, kButtonHeight);
    proposedLabel = make<ui::Label>(c);
    proposedLabel->setAutoFillBackground(true);  // over the rows a collapsed window leaves unseen
    proposedLabel->hide();
    focusSink = make<ui::Button>(c);  // takes the focus after moreButton is used
    focusSink->place(0, 0, 0, 0);
    connect(moreButton, &ui::Button::Click, this, &ActiveYearsForm::moreButton_Click);
}

const ui::ControlArray<ui::Label>& ActiveYearsForm::levelLabels(int level) const {
    const ui::ControlArray<ui::Label>* arrays[] = {&level1Labels, &level2Labels, &level3Labels,
                                                   &level4Labels, &level5Labels, &level6Labels,
                                                   &level7Labels, &level8Labels, &level9Labels};
    if (level < 1 || level > 9) throw core::SubscriptError("Level out of range");
    return *arrays[level - 1];
}

void ActiveYearsForm::Form_Load() {
    for (int k = 1; k <= 9; ++k) {
        levelLabels(k)(1)->setCaption(QStringLiteral("0"));
        levelSwatches(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    }
    focusSink->setEnabled(true);
}

void ActiveYearsForm::moreButton_Click() {
    if (moreButton->Caption() != QStringLiteral("Retract")) {
        moreButton->setCaption(QStringLiteral("Retract"));
        fitHeight();
        level6Labels(0)->show();
        level6Labels(1)->show();
    } else {
        // n comes from the labels shown, so it agrees with the last update.
        long n = 0;
        for (int k = 6; k <= 9; ++k) n += static_cast<long>(core::val(levelLabels(k)(1)->Caption()));
        moreButton->setCaption(QStringLiteral("More (%1)").arg(n));
        fitHeight();
        level6Labels(0)->hide();
        level6Labels(1)->hide();
    }
    focusSink->setFocus();
}

void ActiveYearsForm::fitHeight() {
    // The button sits under the rows shown, the proposals' row (when shown) under it.
    const double height =
        (expanded() ? kExpandedHeight : kCollapsedHeight) + (proposedLabel->isHidden() ? 0 : kRowStep);
    const double buttonTop = height - kButtonFromBottom - (proposedLabel->isHidden() ? 0 : kRowStep);
    setHeight(height);
    moreButton->setTop(buttonTop);
    proposedLabel->place(60, buttonTop + kButtonHeight + 30, 2100, kRowStep);
}

void ActiveYearsForm::showProposed(long count, bool proposing) {
    proposedLabel->setCaption(QStringLiteral("Proposed: %1").arg(count));
    if (proposing != proposedLabel->isHidden()) return;
    proposedLabel->setVisible(proposing);
    fitHeight();
}

void ActiveYearsForm::Form_MouseMove(int, int, double, double) {
    ClearCurvePointers();
}

void UpdateActiveYears() {
    ActiveYearsForm& f = frmActiveYears.get();
    for (int k = 1; k <= 9; ++k)
        f.levelSwatches(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    if (!XrfLoaded) return;
    ComparisonMayHaveChanged();
    CountChanged();
    f.showProposed(static_cast<long>(ShownProposals().size()), !ProposedPositions.empty());
    long count[10] = {};
    const long left = ViewLeft, right = ViewRight;
    const core::PositionAxis axis = positionAxis();
    for (long x = left; x <= right; ++x) {
        const core::Position p = axis.positionOf(core::Column(x));
        if (!YearMark.contains(p)) continue;  // a section reaching past the data counts nothing there
        const Variant& mark = YearMark(p);
        for (int level = 1; level <= 9; ++level) {
            if (mark == level) ++count[level];
        }
    }
    for (int level = 1; level <= 9; ++level)
        f.levelLabels(level)(1)->setCaption(QString::number(count[level]));
    if (f.moreButton->Caption() != QStringLiteral("Retract")) {
        f.moreButton->setCaption(QStringLiteral("More (%1)").arg(count[6] + count[7] + count[8] + count[9]));
    }
}

}  // namespace app
