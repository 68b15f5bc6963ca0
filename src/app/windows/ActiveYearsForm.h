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

    ui::Frame* Frame1;
    ui::ControlArray<ui::Shape> Shape1;  // 1..9
    // Label1 .. Label9, each an array of two: (0) "Level-k: ", (1) the count.
    ui::ControlArray<ui::Label> Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9;
    ui::Button* Command1;
    ui::Button* Command2;
    ui::Label* Label10;  // "Proposed: n", the open proposals in view, while there are proposals

    // The open proposals in view, or none shown (no proposals); the window grows a row for them.
    void showProposed(long count, bool proposing);

    // The label array of level k (1..9).
    const ui::ControlArray<ui::Label>& levelLabels(int level) const;
    bool expanded() const { return Command1->Caption() == QStringLiteral("Retract"); }

    void Command1_Click();

  protected:
    void Form_Load() override;

  private:
    void fitHeight();
    void Form_MouseMove(int button, int shift, double x, double y) override;
};

// Swatches follow the level colours; with XRF data, the counts of the displayed section.
void UpdateActiveYears();

}  // namespace app
