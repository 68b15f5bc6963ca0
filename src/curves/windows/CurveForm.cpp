#include "curves/windows/CurveForm.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "compare/windows/CompareForm.h"
#include "curves/windows/Curves.h"
#include "curves/windows/LabelDialogs.h"
#include "photo/windows/PhotoForms.h"
#include "pointer/windows/Pointer.h"
#include "proposals/windows/ProposeForm.h"
#include "ui/KeyCodes.h"

namespace app {

namespace {
// The band label starts where the other windows' "Ratio" box does: clear of the element choice.
constexpr double kBandLabelLeft = 96;
}  // namespace

using ui::make;

namespace {
QString designCaption(int number) {
    return number == 1 ? QStringLiteral("1: Grey scale") : QStringLiteral("Curve-%1").arg(number);
}
}  // namespace

namespace {
// The keys of a plot that act wherever the keyboard is while the pointer is over it: the levels of
// both keyboards (0 as well), L and N, the proposals' Enter and Backspace, the comparison's "." and ",".
std::vector<int> plotKeysUnderPointer() {
    std::vector<int> codes{ui::kKeyL, ui::kKeyN, ui::kKeyReturn, ui::kKeyBack, ui::kKeyPeriod, ui::kKeyComma};
    for (int d = 0; d <= 9; ++d) codes.insert(codes.end(), {ui::kKey0 + d, ui::kKeyNumpad0 + d});
    return codes;
}
}  // namespace

CurveForm::CurveForm(int number) : ui::Form(ui::Unit::Pixels), number_(number) {
    setCaption(designCaption(number));
    Move(9840, 1800 + (number - 1) % 3 * 1560, 9000, 1560);
    QWidget* c = client();
    plot = make<ui::PictureBox>(c);
    plot->place(0, 0, 592, 80);
    plot->surface().setBackColour(core::rgb(0, 0, 0));
    plot->surface().clearPicture();
    plot->takeKeysUnderPointer(plotKeysUnderPointer());

    elementList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    elementList->place(2, 2, 90, 22);
    if (hasRatio()) {
        ratioCheck = make<ui::CheckBox>(c, QStringLiteral("Ratio"));
        ratioCheck->place(96, 4, 60, 18);
        ratioCheck->setAutoFillBackground(true);
        denominatorList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
        denominatorList->place(160, 2, 90, 22);
    }
    topValueBox = make<ui::TextBox>(c);
    bottomValueBox = make<ui::TextBox>(c);
    topValueBox->place(532, 0, 60, 20);
    bottomValueBox->place(532, 60, 60, 20);
    if (number == 1) {
        // The band lines and their label live inside the plot, in its units (radiograph rows).
        bandLines = ui::ControlArray<ui::LineShape>(0, 1, [this](long i) {
            auto* line = make<ui::LineShape>(plot);
            line->setBorderColour(core::rgb(255, 255, 0));
            line->setEnds(0, 30 + 20 * i, 592, 30 + 20 * i);
            return line;
        });
        bandLabel = make<ui::Label>(plot, QStringLiteral(" Width: "));
        bandLabel->place(kBandLabelLeft, 10, 160, 18);
        bandLabel->setBackColour(core::rgb(255, 255, 192));
    }
    buildMenu();
    connectEvents();
}

void CurveForm::connectEvents() {
    connect(topValueBox, &ui::TextBox::Change, this, &RedrawCurves);
    connect(bottomValueBox, &ui::TextBox::Change, this, &RedrawCurves);
    connect(elementList, &ui::ComboBox::Click, this, &CurveForm::elementList_Click);
    if (hasRatio()) {
        connect(denominatorList, &ui::ComboBox::Click, this, &CurveForm::denominatorList_Click);
        connect(ratioCheck, &ui::CheckBox::Click, this, &CurveForm::ratioCheck_Click);
    }
    connect(plot, &ui::PictureBox::KeyDown, this, &CurveForm::plot_KeyDown);
    connect(plot, &ui::PictureBox::KeyUp, this, &CurveForm::plot_KeyUp);
    connect(plot, &ui::PictureBox::MouseDown, this, &CurveForm::plot_MouseDown);
    connect(plot, &ui::PictureBox::MouseMove, this, &CurveForm::plot_MouseMove);
    connect(mnuOneYear, &ui::MenuItem::Click, this, [] { SetMarker(1); });
    connect(mnuHalfYear, &ui::MenuItem::Click, this, [] { SetMarker(3); });
    // Levels 6..9 of the "(more)" menu place their level in every window alike.
    for (int level = 1; level <= 9; ++level) {
        ui::MenuItem* item = level <= 5 ? mnuLevel(level) : mnuLevel2(level);
        connect(item, &ui::MenuItem::Click, this, [level] { SetMarker(level); });
    }
    connect(mnuDelete, &ui::MenuItem::Click, this, &DeleteMarker);
    connect(mnuUndo, &ui::MenuItem::Click, this, &UndoMarker);
    connect(mnuRedo, &ui::MenuItem::Click, this, &RedoMarker);
    connect(mnuCopyHere, &ui::MenuItem::Click, this, &CopyReferenceHere);
    connect(mnuActivate, &ui::MenuItem::Click, this, &ToggleActivation);
    for (ui::MenuItem* item : movingAverageItems()) {
        connect(item, &ui::MenuItem::Click, this, [this, item] { chooseMovingAverage(item); });
    }
    connect(mnuFlip, &ui::MenuItem::Click, this, &CurveForm::mnuFlip_Click);
    connect(mnuLamina, &ui::MenuItem::Click, this, &EditLaminaLabel);
    connect(mnuNote, &ui::MenuItem::Click, this, &EditMarkerNote);
    connect(mnuHideOthers, &ui::MenuItem::Click, this, &CurveForm::mnuHideOthers_Click);
    connect(mnuShowAll, &ui::MenuItem::Click, this, &CurveForm::mnuShowAll_Click);
    connect(mnuShow123, &ui::MenuItem::Click, this, &CurveForm::mnuShow123_Click);
    connect(mnuShow456, &ui::MenuItem::Click, this, &CurveForm::mnuShow456_Click);
    connect(mnuAlign, &ui::MenuItem::Click, this, &CurveForm::mnuAlign_Click);
    connect(plot, &ui::PictureBox::MouseUp, this, &CurveForm::plot_MouseUp);
    connect(plot, &ui::PictureBox::DblClick, this, &CurveForm::plot_DblClick);
}

// Upside down: the top value becomes the bottom value and back; each box redraws as it changes.
void CurveForm::mnuFlip_Click() {
    const QString top = topValueBox->Text();
    const QString bottom = bottomValueBox->Text();
    topValueBox->setText(bottom);
    bottomValueBox->setText(top);
}

// Another element, ratio or denominator empties the range boxes: the next drawing fills them.
void CurveForm::elementList_Click() {
    topValueBox->setText(QString());
    bottomValueBox->setText(QString());
    RedrawCurves();
}

void CurveForm::denominatorList_Click() {
    elementList_Click();
}

void CurveForm::ratioCheck_Click() {
    denominatorList->setVisible(ratioCheck->Value() == 1);
    elementList_Click();
}

void CurveForm::plot_KeyDown(int keyCode, int shift) {
    // Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y and Ctrl+A reach here only when the menu's shortcut did not take them.
    UndoRedoOrActivationKey(keyCode, shift);
    // Enter and Backspace take or drop the proposal at the pointer.
    // "." and "," visit the disagreements of two counts while they are compared.
    const bool jump = keyCode == ui::kKeyPeriod || keyCode == ui::kKeyComma;
    if (keyCode == ui::kKeyReturn) {
        AcceptProposalAtPointer();
    } else if (keyCode == ui::kKeyBack) {
        RejectProposalAtPointer();
    } else if (!(jump && JumpToDisagreement(keyCode == ui::kKeyPeriod ? 1 : -1))) {
        SetMarkerFromKey(keyCode);
    }
    if (keyCode == ui::kKeyN) {
        ClickX = Variant(static_cast<double>(PointerX));
        EditMarkerNote();
    }
    if (keyCode == ui::kKeyL) {
        ClickX = Variant(static_cast<double>(PointerX));
        EditLaminaLabel();
    }
}

void CurveForm::plot_KeyUp(int keyCode, int shift) {
    (void)shift;
    if (keyCode == ui::kKeyControl) CtrlDown = false;
}

void CurveForm::plot_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    if (number_ == 1 && button == ui::kLeftButton) HakusenDown(x, y);
    if (button == ui::kRightButton) {
        ClickX = Variant(x);
        PopupMenu(mnuRB);
    }
    if (button == ui::kLeftButton && plot->mousePointer() == ui::MousePointer::Cross) {
        ClickX = Variant(x);
        SetMarker(1);
    }
}

void CurveForm::plot_MouseMove(int button, int shift, double x, double y) {
    (void)shift;
    if (number_ == 1) {
        // A band drag whose release never arrived (the window lost the mouse) ends here.
        if (bandDragging() && button == 0) HakusenUp(x, y);
        HakusenMove(x, y);
    }
    // Keys go to the plot under the mouse while its window is active (not while typing a value).
    if (isActiveWindow() && !plot->hasFocus() && !ui::textEntryHasFocus()) plot->setFocus();
    if (XrfLoaded) ShowPointerDepth(x);
    ShowCurvePointer(x, plot->ScaleHeight());
    if (XrfLoaded) showToolTip(x, y);
    ShowCropPointer(x, plot->ScaleWidth());
}

void CurveForm::plot_MouseUp(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    if (number_ == 1) HakusenUp(x, y);
}

void CurveForm::chooseMovingAverage(ui::MenuItem* item) {
    static const float kWeights[5][5] = {{0, 0, 1, 0, 0},
                                         {0, 0.3333f, 0.3333f, 0.3333f, 0},
                                         {0, 0.25f, 0.5f, 0.25f, 0},
                                         {0.2f, 0.2f, 0.2f, 0.2f, 0.2f},
                                         {0.1f, 0.2f, 0.4f, 0.2f, 0.1f}};
    const std::vector<ui::MenuItem*> items = movingAverageItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i]->setChecked(items[i] == item);
        if (items[i] != item) continue;
        SmoothW1(number_) = kWeights[i][0];
        SmoothW2(number_) = kWeights[i][1];
        SmoothW3(number_) = kWeights[i][2];
        SmoothW4(number_) = kWeights[i][3];
        SmoothW5(number_) = kWeights[i][4];
    }
    if (XrfLoaded) {
        RedrawCurves();
    } else {
        RedrawGreyCurve();
    }
}

void CurveForm::buildMenu() {
    mnuRB = addPopupMenu(QStringLiteral("RB"));
    mnuRunAve = mnuRB->add(QStringLiteral("Moving average"));
    mnuNone = mnuRunAve->add(QStringLiteral("<None>"));
    mnuFlat3 = mnuRunAve->add(QStringLiteral("0 : 33 : 33 : 33 : 0"));
    mnuWeighted3 = mnuRunAve->add(QStringLiteral("0 : 25 : 50 : 25 : 0"));
    mnuFlat5 = mnuRunAve->add(QStringLiteral("20 : 20 : 20 : 20 : 20"));
    mnuWeighted5 = mnuRunAve->add(QStringLiteral("10 : 20 : 40 : 20 : 10"));
    for (ui::MenuItem* item : movingAverageItems()) item->setChecked(item == mnuNone);
    mnuRB->addSeparator();
    mnuOneYear = mnuRB->add(QStringLiteral("One year"));
    mnuHalfYear = mnuRB->add(QStringLiteral("Half year"));
    mnuLevel = ui::ControlArray<ui::MenuItem>(
        1, 5, [this](long i) { return mnuRB->add(QStringLiteral("Level-%1").arg(i)); });
    mnuMore = mnuRB->add(QStringLiteral("(more)"));
    mnuLevel2 = ui::ControlArray<ui::MenuItem>(
        6, 9, [this](long i) { return mnuMore->add(QStringLiteral("Level-%1").arg(i)); });
    mnuRB->addSeparator();
    mnuLamina = mnuRB->add(QStringLiteral("Labelled lamina"));
    mnuNote = mnuRB->add(QStringLiteral("Note"));
    mnuRB->addSeparator();
    mnuUndo = mnuRB->add(QStringLiteral("Undo"));
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo = mnuRB->add(QStringLiteral("Redo"));
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuDelete = mnuRB->add(QStringLiteral("Delete"));
    mnuCopyHere = mnuRB->add(QStringLiteral("Copy here"));  // the reference count's boundary, while one is open
    mnuCopyHere->setEnabled(false);
    mnuRB->addSeparator();
    mnuActivate = mnuRB->add(QStringLiteral("Activate"));
    mnuActivate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuActivate->setChecked(true);
    mnuRB->addSeparator();
    mnuHideOthers = mnuRB->add(QStringLiteral("Hide others"));
    mnuShowAll = mnuRB->add(QStringLiteral("Show all"));
    mnuShow123 = mnuRB->add(QStringLiteral("Show 1-3"));
    mnuShow456 = mnuRB->add(QStringLiteral("Show 4-6"));
    mnuAlign = mnuRB->add(QStringLiteral("Align forms"));
    mnuRB->addSeparator();
    mnuFlip = mnuRB->add(QStringLiteral("Flip vertical"));
    if (number_ == 1) {
        // Window 1 alone is in use until XRF data are imported.
        for (ui::MenuItem* m : {mnuHideOthers, mnuShowAll, mnuShow123, mnuShow456, mnuAlign})
            m->setEnabled(false);
    }
}

std::vector<ui::MenuItem*> CurveForm::movingAverageItems() const {
    return {mnuNone, mnuFlat3, mnuWeighted3, mnuFlat5, mnuWeighted5};
}

void CurveForm::Form_Load() {
    topValueBox->setText(QString());
    bottomValueBox->setText(QString());
    elementList->setText(QString());
    elementList->hide();
    if (denominatorList) denominatorList->hide();
}

// The value boxes sit at the plot's right-hand corners; window 1 stretches its band lines across.
void CurveForm::Form_Resize() {
    topValueBox->place(plot->Left() + plot->Width() - topValueBox->Width(), plot->Top(), topValueBox->Width(),
                       topValueBox->Height());
    bottomValueBox->place(topValueBox->Left(), plot->Top() + plot->Height() - bottomValueBox->Height(),
                          bottomValueBox->Width(), bottomValueBox->Height());
    stretchBandLines();
}

void CurveForm::stretchBandLines() {
    if (number_ != 1) return;
    const double left = plot->ScaleLeft(), right = plot->ScaleLeft() + plot->ScaleWidth();
    for (ui::LineShape* line : bandLines) line->setEnds(left, line->Y1(), right, line->Y2());
}

}  // namespace app
