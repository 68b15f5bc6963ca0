#include "curves/windows/LabelDialogs.h"

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/Recovery.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "files/FieldSyntax.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/ControlArray.h"
#include "ui/KeyCodes.h"

namespace app {

using ui::make;

namespace {

constexpr core::Colour kLabelColour = core::rgb(0, 255, 255);
constexpr core::Colour kNoteColour = core::rgb(255, 255, 255);
constexpr double kNoteTickFrom = 0.7;  // notes mark the lowest 30 % of a plot

void lockCurveWindows(bool locked) {
    for (int k = 1; k <= 6; ++k) curveWindow(k).setEnabled(!locked);
}

// The same line at ClickX in every plot, kept as part of the picture.
void markClickX(double fromFraction, core::Colour colour) {
    const double x = clickX();
    const double h = kNoteTickFrom * curveWindow(1).Picture1->ScaleHeight();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).Picture1;
        p->Cls();
        p->Line(x, fromFraction == 0 ? 0 : h, x, p->ScaleHeight(), colour);
        p->commit();
    }
}

// The position the open dialog is about, from ClickX as things stand now; -1 beyond the data.
long dialogPosition() {
    return markerIndex(positionOf(clickX()));
}

QString stored(const QString& typed) {
    return QStringLiteral("#") + (typed.isEmpty() ? kNoMarker : typed);
}

// A dialog put away without its OK: the windows unlocked, the mark drawn at its opening gone.
void putAwayDialog() {
    lockCurveWindows(false);
    for (int k = 1; k <= 6; ++k) curveWindow(k).Picture1->Cls();
    RedrawPlots();
}

// Closing a dialog with its close box takes the note of the position back out.
void cancelDialog() {
    const long p = dialogPosition();
    if (p >= 0) MarkerNote(p) = kNoMarker;
    putAwayDialog();
}

// The text a stored label or note was typed as; empty for none.
QString typedOrEmpty(const QString& stored) {
    return files::isStoredText(stored) ? files::typedText(stored) : QString();
}

}  // namespace

void RebuildNotePositions() {
    NoteCount = 0;
    NotePositions.redim(0, 0);
    for (long p = 1; p <= DataLength && p <= MarkerNote.upper(); ++p) {
        if (!isTextSet(MarkerNote(p))) continue;
        ++NoteCount;
        NotePositions.redimPreserve(NoteCount);
        NotePositions(NoteCount) = static_cast<Integer>(p);
    }
}

void EditLaminaLabel() {
    if (PointerActive) {
        markClickX(0, kLabelColour);
        lockCurveWindows(true);
    }
    frmLaminaName->openAt(dialogPosition());
    Saved = false;
}

void EditMarkerNote() {
    markClickX(kNoteTickFrom, kNoteColour);
    lockCurveWindows(true);
    NoteForm& note = frmNote.get();
    note.Show();
    note.Text1->setFocus();  // typed text is the note; Return confirms
    Saved = false;
}

LaminaNameForm::LaminaNameForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Lamina"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Move(6000, 6000, 4560, 1905);
    QWidget* c = client();
    Label1 = make<ui::Label>(c, QStringLiteral("Lamina label:"));
    Label1->place(120, 150, 1200, 285);
    Text1 = make<ui::TextBox>(c);
    Text1->place(1380, 120, 2940, 345);
    Label2 = make<ui::Label>(c, QStringLiteral("Note:"));
    Label2->place(120, 600, 1200, 285);
    Text2 = make<ui::TextBox>(c);
    Text2->place(1380, 570, 2940, 345);
    Command1 = make<ui::Button>(c, QStringLiteral("OK"));
    Command1->place(3120, 1050, 1200, 375);
    Command1->setDefault(true);
    connect(Command1, &ui::Button::Click, this, &LaminaNameForm::Command1_Click);
}

void LaminaNameForm::Form_Load() {
    Text1->setText(QString());
    Text2->setText(QString());
}

void LaminaNameForm::openAt(long position) {
    const bool inData = position >= 0 && MarkerLabel.contains(position) && MarkerNote.contains(position);
    Text1->setText(inData ? typedOrEmpty(MarkerLabel(position)) : QString());
    Text2->setText(inData ? typedOrEmpty(MarkerNote(position)) : QString());
    Text1->setToolTipText(lastLabel_.isEmpty() ? QString()
                                               : QStringLiteral("Up: the last label, %1").arg(lastLabel_));
    Show();
    Text1->setFocus();
}

// The texts are kept for the next opening; a position beyond the data stores nothing.
void LaminaNameForm::Command1_Click() {
    const long p = dialogPosition();
    if (p >= 0) {
        MarkerLabel(p) = stored(Text1->Text());
        MarkerNote(p) = stored(Text2->Text());
    }
    if (!Text1->Text().isEmpty()) lastLabel_ = Text1->Text();
    RebuildNotePositions();
    CountChanged();
    lockCurveWindows(false);
    hide();
    DrawMarkerLabels();
}

namespace {
// As in a dialog: Return confirms, Escape puts the dialog away and changes nothing.
void dialogKeys(ui::Form& form, ui::Button* ok, int keyCode) {
    if (keyCode == ui::kKeyReturn) ok->click();
    if (keyCode == ui::kKeyEscape) {
        form.hide();
        putAwayDialog();
    }
}
}  // namespace

void LaminaNameForm::Form_KeyDown(int keyCode, int) {
    if (keyCode == ui::kKeyUp && Text1->Text().isEmpty()) Text1->setText(lastLabel_);
    dialogKeys(*this, Command1, keyCode);
}

void NoteForm::Form_KeyDown(int keyCode, int) {
    dialogKeys(*this, Command1, keyCode);
}

// A close by the close box is a cancel; the next opening starts empty, as a fresh dialog.
void LaminaNameForm::Form_Unload(bool& cancel) {
    (void)cancel;
    cancelDialog();
    Form_Load();
}

NoteForm::NoteForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Note"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Move(6000, 6000, 4560, 1905);
    QWidget* c = client();
    Label1 = make<ui::Label>(c, QStringLiteral("Library: "));
    Label1->place(120, 150, 1200, 285);
    Combo1 = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    Combo1->place(1380, 120, 2940, 345);
    Text1 = make<ui::TextBox>(c);
    Text1->place(120, 570, 4200, 345);
    Command1 = make<ui::Button>(c, QStringLiteral("OK"));
    Command1->place(3120, 1050, 1200, 375);
    Command1->setDefault(true);
    connect(Combo1, &ui::ComboBox::Click, this, &NoteForm::Combo1_Click);
    connect(Command1, &ui::Button::Click, this, &NoteForm::Command1_Click);
}

const QStringList& NoteForm::library() {
    static const QStringList notes{"--- Select ---", "Clay top",      "Clay top of", "Clay base",
                                   "Siderite top",   "Siderite base", "Tephra top",  "Tephra base"};
    return notes;
}

void NoteForm::Form_Load() {
    Text1->setText(QString());
    Combo1->Clear();
    for (const QString& note : library()) Combo1->AddItem(note);
    Combo1->setText(QStringLiteral("---Select---"));
}

void NoteForm::Command1_Click() {
    const long p = dialogPosition();
    if (p >= 0) MarkerNote(p) = stored(Text1->Text());
    RebuildNotePositions();
    CountChanged();
    lockCurveWindows(false);
    hide();
}

void NoteForm::Form_Unload(bool& cancel) {
    (void)cancel;
    cancelDialog();
    Form_Load();
}

void NoteForm::Combo1_Click() {
    const QString chosen = Combo1->Text();
    if (chosen != QStringLiteral("---Select---") && chosen != QStringLiteral("--- Select ---"))
        Text1->setText(chosen);
}

}  // namespace app
