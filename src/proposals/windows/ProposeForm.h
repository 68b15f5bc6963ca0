#pragma once

#include <map>
#include <vector>

#include "core/Places.h"
#include "core/Variant.h"

#include "ui/Controls.h"
#include "ui/Form.h"

namespace ui {
class PictureBox;
class Surface;
}

namespace app {

// "Propose boundaries": the curve, the transition, the smallest lamina thickness and the
// sensitivity with which boundaries are proposed in the section (or the whole core); the proposals
// are drawn in the six curve windows until accepted, rejected or cleared.
class ProposeForm : public ui::Form {
    Q_OBJECT
  public:
    ProposeForm();
    ui::Label* curveLabel;         // "Curve:"
    ui::ComboBox* curveList;       // the six windows' curves
    ui::Label* transitionLabel;    // "Boundary:"
    ui::ComboBox* transitionList;  // dark to light, light to dark, either
    ui::Label* thinnestLabel;      // "Smallest lamina (mm):"
    ui::TextBox* thinnestBox;
    ui::Label* sensitivityLabel;  // "Sensitivity:"
    ui::Slider* sensitivitySlider;
    ui::CheckBox* wholeCoreCheck;  // whole core
    ui::Button* proposeButton;     // Propose
    ui::Button* acceptAllButton;   // Accept all in view
    ui::Button* clearButton;       // Clear proposals
    ui::Label* resultLabel;        // what the last Propose found

    void proposeButton_Click();
    void acceptAllButton_Click();
    void clearButton_Click();

  protected:
    void Form_Load() override;
};

// The open proposals: positions (as YearMark's), ascending. Kept while the program runs, never
// saved, counted or undone.
extern std::vector<long> ProposedPositions;  // data positions
// The smallest lamina thickness of the last proposing, in positions: a proposal that close to a
// marker is not shown.
extern long ProposalThinnest;

// The proposals shown: those in view, none within the smallest thickness of a marker.
std::vector<long> ShownProposals();
// Dashed lines at the shown proposals on the six plots (scaled 0..1 high, in display columns).
void DrawProposals(ui::Surface* const* plots, int count);
// The same on the preview, where every open proposal of the core is shown.
void DrawProposalsOnPreview(ui::PictureBox* picture);
// Enter over a plot: the shown proposal nearest the pointer, if within a few columns, becomes a
// level-1 marker. Backspace: it is dropped. Both false when none is near.
bool AcceptProposalAtPointer();
bool RejectProposalAtPointer();
// A marker placed at `position` takes the place of the proposals under it.
void DropProposalsAt(core::Position position);
// "Accept all in view": every shown proposal a level-1 marker, in one change that one Undo takes
// back (the proposals come back with it).
void AcceptAllProposalsInView();
// Undo's part: when the undo entry is such a change, the markers as they were; false for any other
// entry. Redo's part: the change made again.
bool UndoAcceptedProposals(const core::Variant& position, const core::Variant& value);
bool RedoAcceptedProposals(const core::Variant& position, const core::Variant& value);

}  // namespace app
