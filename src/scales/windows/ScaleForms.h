#pragma once

#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// The millimetre scale of the displayed section, normally under a curve window.
class ScaleForm : public ui::Form {
    Q_OBJECT
  public:
    ScaleForm();
    ui::PictureBox* scalePicture;
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuAlignScale;
    ui::ControlArray<ui::MenuItem> mnu;  // mnu(1) .. mnu(7): curve windows 1..6, then the close-up

    void mnuRB_Click();
    void mnu_Click(int index);
    void scalePicture_MouseDown(int button, int shift, double x, double y);

  protected:
    void Form_Load() override;
};

// The centimetre scale of the whole radiograph, at the preview window.
class MetreScaleForm : public ui::Form {
    Q_OBJECT
  public:
    MetreScaleForm();
    ui::PictureBox* scalePicture;
    ui::MenuItem* mnuRB;
    ui::MenuItem* mnuAlign;

    void mnuAlign_Click();
    void scalePicture_MouseDown(int button, int shift, double x, double y);

  protected:
    void Form_Load() override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
};

// "Elastic scale": a stretchable ruler of equally spaced marks. Works in pixels.
class ElasticForm : public ui::Form {
    Q_OBJECT
  public:
    ElasticForm();
    ui::PictureBox* scalePicture;  // the window's drawing surface
    ui::LineShape* centreLine;     // the centre line

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_MouseDown(int button, int shift, double x, double y) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_MouseUp(int button, int shift, double x, double y) override;
    void Form_Unload(bool& cancel) override;
};

// The millimetre scale of the section shown in the curve windows (frmScale).
void DrawScale();
// The centimetre scale of the whole radiograph, placed above the preview (frm1m).
void Draw1mScale();
// The elastic scale's marks for the pointer at x on frmElastic (the spacing follows the pointer).
void DrawElasticScale(double x);

}  // namespace app
