#pragma once

#include <optional>

#include "core/Places.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Lamina": the label (and note) of a labelled lamina. Not modal; the confirm button hides it.
class LaminaNameForm : public ui::Form {
    Q_OBJECT
  public:
    LaminaNameForm();
    ui::Label* labelCaption;
    ui::Label* noteCaption;
    ui::TextBox* labelBox;  // label
    ui::TextBox* noteBox;   // note
    ui::Button* okButton;

    void okButton_Click();
    // Opens at the position: its own label and note, empty where it has none (the last label
    // confirmed is one key away: Up in the label box).
    void openAt(std::optional<core::Position> position);

  protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Form_KeyDown(int keyCode, int shift) override;

  private:
    QString lastLabel_;
};

// "Note": a note at a position, with a library of common notes.
class NoteForm : public ui::Form {
    Q_OBJECT
  public:
    NoteForm();
    ui::Label* noteCaption;
    ui::ComboBox* libraryList;  // the note library
    ui::TextBox* noteBox;
    ui::Button* okButton;

    static const QStringList& library();
    void libraryList_Click();
    void okButton_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Form_KeyDown(int keyCode, int shift) override;
};

// The label dialog at ClickX: the position marked in cyan in all six windows (while marking is
// active), which stay locked until the dialog is confirmed or closed.
void EditLaminaLabel();
// The note dialog at ClickX: a white tick over the lowest 30 % of every plot, windows locked.
void EditMarkerNote();
// NoteCount and NotePositions from MarkerNote: the positions with a note, ascending.
void RebuildNotePositions();

}  // namespace app
