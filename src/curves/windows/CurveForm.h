#pragma once

#include <array>

#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// One of the six curve windows (frmCurve1 .. frmCurve6): a plot with its top and bottom values,
// the element chooser, in windows 4-6 a ratio denominator, and the shared pop-up menu. Works in
// pixels. Window 1 also holds the band lines and the band label of the width measurement.
class CurveForm : public ui::Form {
    Q_OBJECT
  public:
    explicit CurveForm(int number);
    int number() const { return number_; }
    bool hasRatio() const { return number_ >= 4; }

    ui::PictureBox* plot;
    ui::TextBox* topValueBox;                   // top value
    ui::TextBox* bottomValueBox;                // bottom value
    ui::ComboBox* elementList;                  // element shown
    ui::ComboBox* denominatorList = nullptr;    // windows 4-6: ratio denominator
    ui::CheckBox* ratioCheck = nullptr;         // windows 4-6: "Ratio"
    ui::ControlArray<ui::LineShape> bandLines;  // window 1: band lines
    ui::Label* bandLabel = nullptr;             // window 1: band label

    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuRunAve;
    ui::MenuItem* mnuNone;
    ui::MenuItem* mnuFlat3;
    ui::MenuItem* mnuWeighted3;
    ui::MenuItem* mnuFlat5;
    ui::MenuItem* mnuWeighted5;
    ui::MenuItem* mnuOneYear;
    ui::MenuItem* mnuHalfYear;
    ui::ControlArray<ui::MenuItem> mnuLevel;  // 1..5
    ui::MenuItem* mnuMore;
    ui::ControlArray<ui::MenuItem> mnuLevel2;  // 6..9
    ui::MenuItem* mnuLamina;
    ui::MenuItem* mnuNote;
    ui::MenuItem* mnuUndo;
    ui::MenuItem* mnuRedo;
    ui::MenuItem* mnuDelete;
    ui::MenuItem* mnuCopyHere;
    ui::MenuItem* mnuActivate;
    ui::MenuItem* mnuHideOthers;
    ui::MenuItem* mnuShowAll;
    ui::MenuItem* mnuShow123;
    ui::MenuItem* mnuShow456;
    ui::MenuItem* mnuAlign;
    ui::MenuItem* mnuFlip;

    // Window 1: the band lines reach across the whole plot in its current scale.
    void stretchBandLines();

    // The moving-average entries in menu order, for ticking exactly one.
    std::vector<ui::MenuItem*> movingAverageItems() const;

    // Event handlers.
    void elementList_Click();
    void denominatorList_Click();
    void ratioCheck_Click();
    void plot_KeyDown(int keyCode, int shift);
    void plot_KeyUp(int keyCode, int shift);
    void plot_MouseDown(int button, int shift, double x, double y);
    void plot_MouseMove(int button, int shift, double x, double y);
    void chooseMovingAverage(ui::MenuItem* item);
    void mnuFlip_Click();
    void plot_MouseUp(int button, int shift, double x, double y);
    void plot_DblClick();

    // View commands: which windows are shown, and lining them up.
    void mnuHideOthers_Click();
    void mnuShowAll_Click();
    void mnuShow123_Click();
    void mnuShow456_Click();
    void mnuAlign_Click();

    // Window 1: dragging the band lines (rows of the radiograph).
    void HakusenDown(double x, double y);
    void HakusenMove(double x, double y);
    void HakusenUp(double x, double y);

  protected:
    void Form_Load() override;
    void Form_Resize() override;

  private:
    void buildMenu();
    void connectEvents();
    void showToolTip(double x, double y);
    // The band lines at `upper` and `lower` as the drag rules allow.
    void applyBandDrag(double y);
    // The three windows of this window's column (1-3 or 4-6), top first, and this one's row in it.
    std::array<CurveForm*, 3> group() const;
    int row() const { return (number_ - 1) % 3; }
    int number_;
};

}  // namespace app
