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
    Frame1 = make<ui::Frame>(c);
    Frame1->place(60, 0, 2100, 2220);
    Shape1 = ui::ControlArray<ui::Shape>(1, 9, [this](long k) {
        auto* swatch = make<ui::Shape>(Frame1, ui::Shape::Kind::Square);
        swatch->setFilled(true);
        swatch->place(120, 120 + kRowStep * (k - 1), 135, 135);
        return swatch;
    });
    ui::ControlArray<ui::Label>* arrays[] = {&Label1, &Label2, &Label3, &Label4, &Label5,
                                             &Label6, &Label7, &Label8, &Label9};
    for (int k = 1; k <= 9; ++k) {
        *arrays[k - 1] = ui::ControlArray<ui::Label>(0, 1, [this, k](long i) {
            auto* label =
                make<ui::Label>(Frame1, i == 0 ? QStringLiteral("Level-%1: ").arg(k) : QStringLiteral("888"));
            label->place(i == 0 ? 360 : 1380, 60 + kRowStep * (k - 1), i == 0 ? 1000 : 600, 240);
            if (i == 1) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return label;
        });
    }
    Label6(0)->hide();
    Label6(1)->hide();
    Command1 = make<ui::Button>(c, QStringLiteral("More"));
    Command1->place(60, kCollapsedHeight - kButtonFromBottom, 2100, kButtonHeight);
    Label10 = make<ui::Label>(c);
    Label10->setAutoFillBackground(true);  // over the rows a collapsed window leaves unseen
    Label10->hide();
    Command2 = make<ui::Button>(c);  // takes the focus after Command1 is used
    Command2->place(0, 0, 0, 0);
    connect(Command1, &ui::Button::Click, this, &ActiveYearsForm::Command1_Click);
}

const ui::ControlArray<ui::Label>& ActiveYearsForm::levelLabels(int level) const {
    const ui::ControlArray<ui::Label>* arrays[] = {&Label1, &Label2, &Label3, &Label4, &Label5,
                                                   &Label6, &Label7, &Label8, &Label9};
    if (level < 1 || level > 9) throw core::SubscriptError("Level out of range");
    return *arrays[level - 1];
}

void ActiveYearsForm::Form_Load() {
    for (int k = 1; k <= 9; ++k) {
        levelLabels(k)(1)->setCaption(QStringLiteral("0"));
        Shape1(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    }
    Command2->setEnabled(true);
}

void ActiveYearsForm::Command1_Click() {
    if (Command1->Caption() != QStringLiteral("Retract")) {
        Command1->setCaption(QStringLiteral("Retract"));
        fitHeight();
        Label6(0)->show();
        Label6(1)->show();
    } else {
        // n comes from the labels shown, so it agrees with the last update.
        long n = 0;
        for (int k = 6; k <= 9; ++k) n += static_cast<long>(core::val(levelLabels(k)(1)->Caption()));
        const core::Integer hidden = core::toInteger(n);
        Command1->setCaption(QStringLiteral("More (%1)").arg(hidden));
        fitHeight();
        Label6(0)->hide();
        Label6(1)->hide();
    }
    Command2->setFocus();
}

void ActiveYearsForm::fitHeight() {
    // The button sits under the rows shown, the proposals' row (when shown) under it.
    const double height = (expanded() ? kExpandedHeight : kCollapsedHeight) + (Label10->isHidden() ? 0 : kRowStep);
    const double buttonTop = height - kButtonFromBottom - (Label10->isHidden() ? 0 : kRowStep);
    setHeight(height);
    Command1->setTop(buttonTop);
    Label10->place(60, buttonTop + kButtonHeight + 30, 2100, kRowStep);
}

void ActiveYearsForm::showProposed(long count, bool proposing) {
    Label10->setCaption(QStringLiteral("Proposed: %1").arg(count));
    if (proposing != Label10->isHidden()) return;
    Label10->setVisible(proposing);
    fitHeight();
}

void ActiveYearsForm::Form_MouseMove(int, int, double, double) {
    ClearCurvePointers();
}

void UpdateActiveYears() {
    ActiveYearsForm& f = frmActiveYears.get();
    for (int k = 1; k <= 9; ++k)
        f.Shape1(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    if (!XrfLoaded) return;
    ComparisonMayHaveChanged();
    CountChanged();
    f.showProposed(static_cast<long>(ShownProposals().size()), !ProposedPositions.empty());
    long count[10] = {};
    const auto left = static_cast<long>(core::cint(ViewLeft)),
               right = static_cast<long>(core::cint(ViewRight));
    for (long x = left; x <= right; ++x) {
        const long p = DataLength - x;
        if (!YearMark.contains(p)) continue;  // a section reaching past the data counts nothing there
        const Variant& mark = YearMark(p);
        for (int level = 1; level <= 9; ++level) {
            if (mark == level) ++count[level];
        }
    }
    for (int level = 1; level <= 9; ++level)
        f.levelLabels(level)(1)->setCaption(QString::number(count[level]));
    if (f.Command1->Caption() != QStringLiteral("Retract")) {
        f.Command1->setCaption(QStringLiteral("More (%1)").arg(count[6] + count[7] + count[8] + count[9]));
    }
}

}  // namespace app
