#include "app/windows/ActiveYearsForm.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/Settings.h"
#include "pointer/windows/Pointer.h"

namespace app {

using ui::make;

namespace {
constexpr double kRowStep = 240;
}

ActiveYearsForm::ActiveYearsForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Active years"));
    setWindowFlag(Qt::Tool);
    setFrameAllowance(8, 18);
    Move(120, 8760, 2280, kCollapsedHeight);
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
    Command1->place(60, kCollapsedHeight - 530, 2100, 255);
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
        setHeight(kExpandedHeight);
        Command1->setTop(kExpandedHeight - 530);
        Command1->setCaption(QStringLiteral("Retract"));
        Label6(0)->show();
        Label6(1)->show();
    } else {
        // n comes from the labels shown, so it agrees with the last update.
        long n = 0;
        for (int k = 6; k <= 9; ++k) n += static_cast<long>(core::val(levelLabels(k)(1)->Caption()));
        const core::Integer hidden = core::toInteger(n);
        setHeight(kCollapsedHeight);
        Command1->setTop(kCollapsedHeight - 530);
        Command1->setCaption(QStringLiteral("More (%1)").arg(hidden));
        Label6(0)->hide();
        Label6(1)->hide();
    }
    Command2->setFocus();
}

void ActiveYearsForm::Form_MouseMove(int, int, double, double) {
    ClearCurvePointers();
}

void UpdateActiveYears() {
    ActiveYearsForm& f = frmActiveYears.get();
    for (int k = 1; k <= 9; ++k)
        f.Shape1(k)->setFillColour(static_cast<core::Colour>(LevelColour(k).toDouble()));
    if (!XrfLoaded) return;
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
