#include "radiograph/windows/Rendering.h"

#include <algorithm>
#include <cmath>

#include "app/SharedState.h"
#include "app/WindowLayout.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/Adjust.h"
#include "radiograph/GreyProfile.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "scales/windows/ScaleForms.h"

namespace app {

namespace {

// The long loops show the main window's progress bar and the busy pointer while they run.
class BusyProgress {
  public:
    explicit BusyProgress(int max) { frmMain->setProgress(true, max); }
    ~BusyProgress() { hideProgress(); }
    static void hideProgress() { frmMain->setProgress(false); }
};

radiograph::Adjustment currentAdjustment(radiograph::Precision precision) {
    return {Brightness, Contrast, frmMain->colourCheck->Value() == 1, precision};
}

}  // namespace

static void renderPreview();
static void renderSection();
static void computeGreyProfile();

const QImage& radiographSource() {
    return frmMain->radiographPicture->Background();
}

static void renderPreview() {
    if (!RadiographImported) {
        BusyProgress::hideProgress();
        return;
    }
    MainForm& m = frmMain.get();
    PreviewForm& preview = frmPreview.get();
    RawImageForm& raw = frmRawImage.get();
    Brightness = static_cast<Integer>(radiograph::brightnessFromSlider(m.radiographSliders(0)->Value()));
    Contrast = radiograph::contrastFromSlider(m.radiographSliders(1)->Value());
    // The preview shows the whole radiograph at the raw image window's displayed size.
    const double displayWidth = raw.rawImage->Width() / TwipsPerPixel;
    const double displayHeight = raw.rawImage->Height() / TwipsPerPixel;
    const int width = static_cast<int>(core::roundHalfEven(displayWidth));
    const int height = static_cast<int>(core::roundHalfEven(displayHeight));
    BusyProgress progress(width);
    preview.renderSurface->Cls();
    const QImage& source = radiographSource();
    const QImage rendered = radiograph::renderPreview(
        source, width, height, m.radiographPicture->ScaleWidth() / displayWidth,
        m.radiographPicture->ScaleHeight() / displayHeight, currentAdjustment(radiograph::Precision::Double));
    PreviewRendered = true;
    preview.renderSurface->setPicture(rendered);
    preview.previewImage->setPicture(preview.renderSurface->Picture());
    PreviewRedrawn = true;
    preview.previewImage->update();
}

static void renderSection() {
    if (!RadiographImported) {
        BusyProgress::hideProgress();
        ProfileDirty = true;
        return;
    }
    MainForm& m = frmMain.get();
    PreviewForm& preview = frmPreview.get();
    RawImageForm& raw = frmRawImage.get();
    CurveForm& c1 = curveWindow(1);
    const QImage& source = radiographSource();

    // The curve plots: the section's share of the radiograph plus the extra width, in pixels, as
    // high as the layout's rows (the radiograph's rows are spread over that height).
    const double plotHeight =
        std::max(1.0, std::floor((CurveRowsOfScreen().windowHeight - layout::kCurveFrameHeight) / TwipsPerPixel));
    const double plotWidth = source.width() * preview.sectionFrame->Width() / preview.previewImage->Width() +
                             core::val(m.extraWidthBox->Text());
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        w.plot->place(0, 0, plotWidth, plotHeight);
        w.Move(w.Left(), w.Top(), TwipsPerPixel * w.plot->surface().widthPixels() + layout::kCurveFrameWidth,
               TwipsPerPixel * w.plot->surface().heightPixels() + layout::kCurveFrameHeight);
    }
    frmElastic->setWidth(c1.Width());

    ColumnsPerPreviewTwip =
        static_cast<Single>(m.radiographPicture->ScaleWidth() / preview.renderSurface->Width());
    ViewLeft = core::clng(ColumnsPerPreviewTwip * raw.sectionFrame->Left());
    ViewRight = core::clng((raw.sectionFrame->Left() + raw.sectionFrame->Width()) * ColumnsPerPreviewTwip);
    m.sectionColumnsReadout(0)->setCaption(QString::number(ViewLeft));
    m.sectionColumnsReadout(1)->setCaption(QString::number(ViewRight));
    ShowSectionPositions();

    BusyProgress progress(ViewRight - ViewLeft);
    const QSize plot = c1.plot->surface().size();
    // Across, one pixel a column; down, the radiograph's rows (the band lines are rows).
    for (int k = 1; k <= 3; ++k) curveWindow(k).plot->setScale(ViewLeft, 0, plot.width(), source.height());
    c1.stretchBandLines();
    const QImage background = radiograph::renderSection(source, ViewLeft, ViewRight, plot,
                                                        currentAdjustment(radiograph::Precision::Single),
                                                        c1.plot->surface().backColour());
    // Painted once; the six plots and the stored copy share the one image.
    for (int k = 1; k <= 6; ++k) {
        ui::PictureBox* p = curveWindow(k).plot;
        p->setPicture(background);
        p->Cls();
        p->Refresh();
    }
    m.sectionBackground->place(m.sectionBackground->Left(), m.sectionBackground->Top(),
                               ui::fromPixels(plot.width(), ui::Unit::Twips),
                               ui::fromPixels(plot.height(), ui::Unit::Twips));
    m.sectionBackground->setPicture(background);
    BusyProgress::hideProgress();

    RedrawPlots();
    DrawScale();
    UpdateActiveYears();
    if (PhotoOpen) FitPhotoFrame();
    ProfileDirty = true;
}

static void computeGreyProfile() {
    if (!PreviewRendered) return;
    MainForm& m = frmMain.get();
    CurveForm& c1 = curveWindow(1);
    const QImage& source = radiographSource();
    const long width = static_cast<long>(core::roundHalfEven(m.radiographPicture->ScaleWidth()));
    {
        BusyProgress progress(static_cast<int>(width));
        const std::vector<std::int16_t> profile =
            radiograph::greyProfile(source, c1.bandLines(0)->Y1(), c1.bandLines(1)->Y1());
        GreyProfile.redim(0, width);
        for (long i = 0; i <= width && i < static_cast<long>(profile.size()); ++i)
            GreyProfile(i) = profile[i];
    }
    if (XrfLoaded) {
        for (long i = 1; i <= DataLength; ++i) Profile(0, i) = Variant(GreyProfile(i));
        RedrawCurves();
    } else {
        RedrawGreyCurve();
    }
}

// Drawing procedures that meet a geometry they cannot work with leave things as they are.
template <typename Work>
void ignoringErrors(const Work& work) {
    try {
        work();
    } catch (const core::RuntimeError&) {
        BusyProgress::hideProgress();
    }
}

void RenderPreview() {
    ignoringErrors(renderPreview);
}
void RenderSection() {
    ignoringErrors(renderSection);
}
void ComputeGreyProfile() {
    ignoringErrors(computeGreyProfile);
}

// The scan positions (mm) of the section's two ends. The right-hand end of a section that reaches
// the radiograph's edge is display column N, which has no measurement (position 0): the boxes
// show the nearest measured position instead, so they never look up a row outside the table.
void ShowSectionPositions() {
    MainForm& m = frmMain.get();
    const auto positionText = [](long row) {
        if (!XrfLoaded) return QString();
        row = std::clamp<long>(row, 1, std::min<long>(DataLength, XrfData.upper2()));
        return XrfData.get(2, row).toString();
    };
    m.sectionEndPositions(0)->setText(positionText(static_cast<long>(DataLength) - ViewRight));
    m.sectionEndPositions(1)->setText(positionText(static_cast<long>(DataLength) - ViewLeft));
}

// The band lines of curve window 1 (radiograph rows) copied onto the preview (twips).
void CopyBandToPreview() {
    CurveForm& c1 = curveWindow(1);
    PreviewForm& preview = frmPreview.get();
    const double scaleHeight = c1.plot->ScaleHeight();
    for (int k = 0; k <= 1; ++k) {
        ui::LineShape* line = preview.bandLines(k);
        const double y =
            scaleHeight == 0 ? 0 : preview.previewImage->Height() * c1.bandLines(k)->Y1() / scaleHeight;
        line->setEnds(line->X1(), y, line->X2(), y);
    }
}

void UpdateBandLabel() {
    CurveForm& c1 = curveWindow(1);
    ui::Label* label = c1.bandLabel;
    label->setTop(c1.bandLines(0)->Y1() - label->Height() + 2);
    const double d = c1.bandLines(1)->Y1() - c1.bandLines(0)->Y1();
    if (XrfLoaded) {
        label->setCaption(QStringLiteral(" Width: ") +
                          core::doubleText(core::val(frmMain->steppingBox->Text()) * d / 1000) +
                          QStringLiteral(" mm"));
    } else {
        label->setCaption(QStringLiteral(" Width: ") + core::doubleText(d) + QStringLiteral(" pixels"));
    }
}

}  // namespace app
