#pragma once

#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace app {

// "Active years": how many boundaries of each level lie in the displayed section, each beside a
// swatch in the level's colour. Collapsed it shows levels 1..5 and tells in its button how many
// boundaries of levels 6..9 are hidden.
class ActiveYearsForm : public ui::Form {
    Q_OBJECT
  public:
    static constexpr double kExpandedHeight = 2770;
    static constexpr double kCollapsedHeight = 1800;
    // Wide enough for its caption beside a window manager's three title-bar buttons.
    static constexpr double kWidth = 3000;

    ActiveYearsForm();

    ui::Frame* levelsFrame;
    ui::ControlArray<ui::Shape> levelSwatches;  // 1..9
    // level1Labels .. level9Labels, each an array of two: (0) "Level-k: ", (1) the count.
    ui::ControlArray<ui::Label> level1Labels, level2Labels, level3Labels, level4Labels, level5Labels,
        level6Labels, level7Labels, level8Labels, level9Labels;
    ui::Button* moreButton;
    ui::Button* focusSink;
    ui::Label* proposedLabel;  // "Proposed: n", the open proposals in view, while there are proposals

    // The open proposals in view, or none shown (no proposals); the window grows a row for them.
    void showProposed(long count, bool proposing);

    // The label array of level k (1..9).
    const ui::ControlArray<ui::Label>& levelLabels(int level) const;
    bool expanded() const { return moreButton->Caption() == QStringLiteral("Retract"); }

    void moreButton_Click();

  protected:
    void Form_Load() override;

  private:
    void fitHeight();
    void Form_MouseMove(int button, int shift, double x, double y) override;
};

// Swatches follow the level colours; with XRF data, the counts of the displayed section.
void UpdateActiveYears();

}  // namespace app
