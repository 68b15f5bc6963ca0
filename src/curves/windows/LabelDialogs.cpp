#include "curves/windows/LabelDialogs.h"
#include "ui/ControlArray.h"

namespace app {

using ui::make;

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
}

void LaminaNameForm::Form_Load() {
    Text1->setText(QString());
    Text2->setText(QString());
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

void NoteForm::Combo1_Click() {
    const QString chosen = Combo1->Text();
    if (chosen != QStringLiteral("---Select---") && chosen != QStringLiteral("--- Select ---"))
        Text1->setText(chosen);
}

}  // namespace app
