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

CurveForm::CurveForm(int number) : ui::Form(ui::Unit::Pixels), number_(number) {
    setCaption(designCaption(number));
    Move(9840, 1800 + (number - 1) % 3 * 1560, 9000, 1560);
    QWidget* c = client();
    Picture1 = make<ui::PictureBox>(c);
    Picture1->place(0, 0, 592, 80);
    Picture1->surface().setBackColour(core::rgb(0, 0, 0));
    Picture1->surface().clearPicture();

    Combo1 = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    Combo1->place(2, 2, 90, 22);
    if (hasRatio()) {
        Check1 = make<ui::CheckBox>(c, QStringLiteral("Ratio"));
        Check1->place(96, 4, 60, 18);
        Check1->setAutoFillBackground(true);
        Combo2 = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
        Combo2->place(160, 2, 90, 22);
    }
    Text1 = make<ui::TextBox>(c);
    Text2 = make<ui::TextBox>(c);
    Text1->place(532, 0, 60, 20);
    Text2->place(532, 60, 60, 20);
    if (number == 1) {
        // The band lines and their label live inside the plot, in its units (radiograph rows).
        Line1 = ui::ControlArray<ui::LineShape>(0, 1, [this](long i) {
            auto* line = make<ui::LineShape>(Picture1);
            line->setBorderColour(core::rgb(255, 255, 0));
            line->setEnds(0, 30 + 20 * i, 592, 30 + 20 * i);
            return line;
        });
        Label1 = make<ui::Label>(Picture1, QStringLiteral(" Width: "));
        Label1->place(kBandLabelLeft, 10, 160, 18);
        Label1->setBackColour(core::rgb(255, 255, 192));
    }
    buildMenu();
    connectEvents();
}

void CurveForm::connectEvents() {
    connect(Text1, &ui::TextBox::Change, this, &RedrawCurves);
    connect(Text2, &ui::TextBox::Change, this, &RedrawCurves);
    connect(Combo1, &ui::ComboBox::Click, this, &CurveForm::Combo1_Click);
    if (hasRatio()) {
        connect(Combo2, &ui::ComboBox::Click, this, &CurveForm::Combo2_Click);
        connect(Check1, &ui::CheckBox::Click, this, &CurveForm::Check1_Click);
    }
    connect(Picture1, &ui::PictureBox::KeyDown, this, &CurveForm::Picture1_KeyDown);
    connect(Picture1, &ui::PictureBox::KeyUp, this, &CurveForm::Picture1_KeyUp);
    connect(Picture1, &ui::PictureBox::MouseDown, this, &CurveForm::Picture1_MouseDown);
    connect(Picture1, &ui::PictureBox::MouseMove, this, &CurveForm::Picture1_MouseMove);
    connect(mnuOneYear, &ui::MenuItem::Click, this, [] { SetMarker(1); });
    connect(mnuHalfYear, &ui::MenuItem::Click, this, [] { SetMarker(3); });
    // Levels 6..9 of the "(more)" menu place their level in every window alike.
    for (int level = 1; level <= 9; ++level) {
        ui::MenuItem* item = level <= 5 ? mnuLevel(level) : mnuLevel2(level);
        connect(item, &ui::MenuItem::Click, this, [level] { SetMarker(level); });
    }
    connect(mnuDelete, &ui::MenuItem::Click, this, &DeleteMarker);
    connect(mnuUndo, &ui::MenuItem::Click, this, &UndoMarker);
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
    connect(Picture1, &ui::PictureBox::MouseUp, this, &CurveForm::Picture1_MouseUp);
    connect(Picture1, &ui::PictureBox::DblClick, this, &CurveForm::Picture1_DblClick);
}

// Upside down: the top value becomes the bottom value and back; each box redraws as it changes.
void CurveForm::mnuFlip_Click() {
    const QString top = Text1->Text();
    const QString bottom = Text2->Text();
    Text1->setText(bottom);
    Text2->setText(top);
}

// Another element, ratio or denominator empties the range boxes: the next drawing fills them.
void CurveForm::Combo1_Click() {
    Text1->setText(QString());
    Text2->setText(QString());
    RedrawCurves();
}

void CurveForm::Combo2_Click() {
    Combo1_Click();
}

void CurveForm::Check1_Click() {
    Combo2->setVisible(Check1->Value() == 1);
    Combo1_Click();
}

void CurveForm::Picture1_KeyDown(int keyCode, int shift) {
    (void)shift;
    if (keyCode == ui::kKeyControl) CtrlDown = true;
    if (CtrlDown) {
        // Ctrl+Z and Ctrl+A reach here only when the menu's shortcut did not take them already.
        if (keyCode == ui::kKeyZ) UndoMarker();
        if (keyCode == ui::kKeyA) ToggleActivation();
    }
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

void CurveForm::Picture1_KeyUp(int keyCode, int shift) {
    (void)shift;
    if (keyCode == ui::kKeyControl) CtrlDown = false;
}

void CurveForm::Picture1_MouseDown(int button, int shift, double x, double y) {
    (void)shift;
    if (number_ == 1 && button == ui::kLeftButton) HakusenDown(x, y);
    if (button == ui::kRightButton) {
        ClickX = Variant(x);
        PopupMenu(mnuRB);
    }
    if (button == ui::kLeftButton && Picture1->mousePointer() == ui::MousePointer::Cross) {
        ClickX = Variant(x);
        SetMarker(1);
    }
}

void CurveForm::Picture1_MouseMove(int button, int shift, double x, double y) {
    (void)shift;
    if (number_ == 1) {
        // A band drag whose release never arrived (the window lost the mouse) ends here.
        if (bandDragging() && button == 0) HakusenUp(x, y);
        HakusenMove(x, y);
    }
    // Keys go to the plot under the mouse while its window is active (not while typing a value).
    if (isActiveWindow() && !Picture1->hasFocus() && !ui::textEntryHasFocus()) Picture1->setFocus();
    if (XrfLoaded) ShowPointerDepth(x);
    ShowCurvePointer(x, Picture1->ScaleHeight());
    if (XrfLoaded) showToolTip(x, y);
    ShowCropPointer(x, Picture1->ScaleWidth());
}

void CurveForm::Picture1_MouseUp(int button, int shift, double x, double y) {
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
    Text1->setText(QString());
    Text2->setText(QString());
    Combo1->setText(QString());
    Combo1->hide();
    if (Combo2) Combo2->hide();
}

// The value boxes sit at the plot's right-hand corners; window 1 stretches its band lines across.
void CurveForm::Form_Resize() {
    Text1->place(Picture1->Left() + Picture1->Width() - Text1->Width(), Picture1->Top(), Text1->Width(),
                 Text1->Height());
    Text2->place(Text1->Left(), Picture1->Top() + Picture1->Height() - Text2->Height(), Text2->Width(),
                 Text2->Height());
    stretchBandLines();
}

void CurveForm::stretchBandLines() {
    if (number_ != 1) return;
    const double left = Picture1->ScaleLeft(), right = Picture1->ScaleLeft() + Picture1->ScaleWidth();
    for (ui::LineShape* line : Line1) line->setEnds(left, line->Y1(), right, line->Y2());
}

}  // namespace app
