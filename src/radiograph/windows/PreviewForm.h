#pragma once

#include "app/SharedState.h"
#include "app/WindowLayout.h"
#include "radiograph/SectionFrame.h"
#include "ui/ControlArray.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace app {

// "Preview": the whole radiograph as rendered, with the section rectangle and the band lines.
// Works in twips; its drawing surface renderSurface has a pixel scale inside.
class PreviewForm : public ui::Form {
    Q_OBJECT
  public:
    static constexpr double kHeight = layout::kPreviewHeight;  // the preview and the raw image window keep it

    PreviewForm();

    ui::PictureBox* renderSurface;              // hidden drawing surface of the rendering
    ui::ImageBox* previewImage;                 // what the user sees and drags on
    ui::Shape* sectionFrame;                    // the section rectangle
    ui::ControlArray<ui::LineShape> bandLines;  // band lines: 0 upper, 1 lower

    ui::MenuItem* mnurb;
    ui::MenuItem* mnuLamina;
    ui::MenuItem* mnuAlignScale;
    ui::MenuItem* mnuAlignPicture;

    // The section rectangle and the band lines are dragged here.
    void previewImage_MouseDown(int button, int shift, double x, double y);
    void previewImage_MouseMove(int button, int shift, double x, double y);
    void previewImage_MouseUp(int button, int shift, double x, double y);
    void previewImage_Click();
    void previewImage_DblClick();
    void renderSurface_KeyDown(int keyCode, int shift);
    void renderSurface_KeyUp(int keyCode, int shift);
    void mnuLamina_Click();
    void mnuAlignScale_Click();
    void mnuAlignPicture_Click();

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_DblClick() override;
    void Form_KeyDown(int keyCode, int shift) override { renderSurface_KeyDown(keyCode, shift); }
    void Form_KeyUp(int keyCode, int shift) override { renderSurface_KeyUp(keyCode, shift); }

  private:
    void setHoverCursor(double x, double y);
    void dragTo(double x, double y);
    void placeBandLine(int k, double y);
    void showLabelToolTip(double x);
};

// A press this close to a band line of the preview (under 30 twips) grabs it.
inline bool nearBandLine(double distance) {
    return std::abs(distance) < radiograph::kSectionEdgeReach;
}

// The labelled laminae as cyan lines over the preview (while shown), and the lists of labelled
// and noted positions (LabelPositions, NotePositions) the tool tips search.
void DrawMarkerLabels();

// Every drag flag of the preview and the band cleared (the end of any drag).
void ClearDragFlags();

}  // namespace app
