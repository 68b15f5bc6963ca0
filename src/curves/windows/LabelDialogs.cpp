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
    const double h = kNoteTickFrom * curveWindow(1).plot->ScaleHeight();
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).plot;
        p->Cls();
        p->Line(x, fromFraction == 0 ? 0 : h, x, p->ScaleHeight(), colour);
        p->commit();
    }
}

// The position the open dialog is about, from ClickX as things stand now; nothing beyond the data.
std::optional<core::Position> dialogPosition() {
    return markerAt(positionOf(clickX()));
}

QString stored(const QString& typed) {
    return QStringLiteral("#") + (typed.isEmpty() ? kNoMarker : typed);
}

// A dialog put away without its OK: the windows unlocked, the mark drawn at its opening gone.
void putAwayDialog() {
    lockCurveWindows(false);
    for (int k = 1; k <= 6; ++k) curveWindow(k).plot->Cls();
    RedrawPlots();
}

// Closing a dialog with its close box takes the note of the position back out.
void cancelDialog() {
    if (const auto p = dialogPosition()) MarkerNote(*p) = kNoMarker;
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
        NotePositions(NoteCount) = static_cast<Long>(p);
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
    note.noteBox->setFocus();  // typed text is the note; Return confirms
    Saved = false;
}

LaminaNameForm::LaminaNameForm() : ui::Form(ui::Unit::Twips) {
    setCaption(QStringLiteral("Lamina"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Move(6000, 6000, 4560, 1905);
    QWidget* c = client();
    labelCaption = make<ui::Label>(c, QStringLiteral("Lamina label:"));
    labelCaption->place(120, 150, 1200, 285);
    labelBox = make<ui::TextBox>(c);
    labelBox->place(1380, 120, 2940, 345);
    noteCaption = make<ui::Label>(c, QStringLiteral("Note:"));
    noteCaption->place(120, 600, 1200, 285);
    noteBox = make<ui::TextBox>(c);
    noteBox->place(1380, 570, 2940, 345);
    okButton = make<ui::Button>(c, QStringLiteral("OK"));
    okButton->place(3120, 1050, 1200, 375);
    okButton->setDefault(true);
    connect(okButton, &ui::Button::Click, this, &LaminaNameForm::okButton_Click);
}

void LaminaNameForm::Form_Load() {
    labelBox->setText(QString());
    noteBox->setText(QString());
}

void LaminaNameForm::openAt(std::optional<core::Position> position) {
    const bool inData = position && MarkerLabel.contains(*position) && MarkerNote.contains(*position);
    labelBox->setText(inData ? typedOrEmpty(MarkerLabel(*position)) : QString());
    noteBox->setText(inData ? typedOrEmpty(MarkerNote(*position)) : QString());
    labelBox->setToolTipText(lastLabel_.isEmpty() ? QString()
                                                  : QStringLiteral("Up: the last label, %1").arg(lastLabel_));
    Show();
    labelBox->setFocus();
}

// The texts are kept for the next opening; a position beyond the data stores nothing.
void LaminaNameForm::okButton_Click() {
    if (const auto p = dialogPosition()) {
        MarkerLabel(*p) = stored(labelBox->Text());
        MarkerNote(*p) = stored(noteBox->Text());
    }
    if (!labelBox->Text().isEmpty()) lastLabel_ = labelBox->Text();
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
    if (keyCode == ui::kKeyUp && labelBox->Text().isEmpty()) labelBox->setText(lastLabel_);
    dialogKeys(*this, okButton, keyCode);
}

void NoteForm::Form_KeyDown(int keyCode, int) {
    dialogKeys(*this, okButton, keyCode);
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
    noteCaption = make<ui::Label>(c, QStringLiteral("Library: "));
    noteCaption->place(120, 150, 1200, 285);
    libraryList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    libraryList->place(1380, 120, 2940, 345);
    noteBox = make<ui::TextBox>(c);
    noteBox->place(120, 570, 4200, 345);
    okButton = make<ui::Button>(c, QStringLiteral("OK"));
    okButton->place(3120, 1050, 1200, 375);
    okButton->setDefault(true);
    connect(libraryList, &ui::ComboBox::Click, this, &NoteForm::libraryList_Click);
    connect(okButton, &ui::Button::Click, this, &NoteForm::okButton_Click);
}

const QStringList& NoteForm::library() {
    static const QStringList notes{"--- Select ---", "Clay top",      "Clay top of", "Clay base",
                                   "Siderite top",   "Siderite base", "Tephra top",  "Tephra base"};
    return notes;
}

void NoteForm::Form_Load() {
    noteBox->setText(QString());
    libraryList->Clear();
    for (const QString& note : library()) libraryList->AddItem(note);
    libraryList->setText(QStringLiteral("---Select---"));
}

void NoteForm::okButton_Click() {
    if (const auto p = dialogPosition()) MarkerNote(*p) = stored(noteBox->Text());
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

void NoteForm::libraryList_Click() {
    const QString chosen = libraryList->Text();
    if (chosen != QStringLiteral("---Select---") && chosen != QStringLiteral("--- Select ---"))
        noteBox->setText(chosen);
}

}  // namespace app
