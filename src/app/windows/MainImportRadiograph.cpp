// The main window's radiograph import: the first thing a user loads; it sets up the whole
// document.
#include <QDir>
#include <algorithm>

#include "app/SharedState.h"
#include "app/windows/ActiveYearsForm.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "compare/windows/CompareForm.h"
#include "core/Arithmetic.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "files/SettingsRows.h"
#include "radiograph/ImageFile.h"
#include "radiograph/RangeRounding.h"
#include "proposals/windows/ProposeForm.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "scales/windows/ScaleForms.h"
#include "ui/Dialogs.h"
#include "ui/Screen.h"

namespace app {

using files::settings::curveTopRow;
using files::settings::kActiveYearsTop;
using files::settings::leftRow;

namespace {

// Every kind the program reads; which kind a file is, is read from its content.
const QString kImageFilter = QStringLiteral(
    "All (*.*)|*.*|Images (*.bmp *.jpg *.jpeg *.png *.tif *.tiff)|*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff|"
    "Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg)|*.jpg|TIFF (*.tif)|*.tif;*.tiff|PNG (*.png)|*.png");
const QString kGuidanceTitle = QStringLiteral("Stratalyser formatting guidance");

// What the user is told when a file cannot be used as a radiograph: the reason where the header
// gives one, otherwise the formats that can be read.
QString guidanceFor(const core::RuntimeError& error) {
    if (error.number() == core::kNotARegularFile)
        return QString::fromStdString(error.what()) + QStringLiteral(". Please choose the image file itself.");
    if (const auto* wide = dynamic_cast<const radiograph::ImageTooWideError*>(&error)) {
        return QStringLiteral(
                   "The radiograph is %1 pixels wide. Stratalyser can use radiographs of at most %2 "
                   "pixels (one pixel column per XRF measurement). Please crop or scale the image.")
            .arg(wide->width)
            .arg(radiograph::kMaxRadiographWidth);
    }
    if (const auto* large = dynamic_cast<const radiograph::ImageTooLargeError*>(&error)) {
        return QStringLiteral(
                   "The image declares %1 x %2 pixels, which would need %3 MB of memory once decoded. "
                   "Stratalyser opens radiographs of up to %4 MB decoded (for example %5 x %6 "
                   "pixels in colour); the file is damaged or is not a radiograph.")
            .arg(large->size.width())
            .arg(large->size.height())
            .arg(large->megabytes())
            .arg(radiograph::kMaxDecodedMegabytes)
            .arg(radiograph::kMaxRadiographWidth)
            .arg(radiograph::kExampleColourHeight);
    }
    if (const auto* cut = dynamic_cast<const radiograph::ImageTruncatedError*>(&error)) {
        return QStringLiteral(
                   "The image file is incomplete: its header declares %1 x %2 pixels, but the file "
                   "(%3 bytes) ends before the picture does. It may have been cut short while "
                   "copying; please open the complete file.")
            .arg(cut->size.width())
            .arg(cut->size.height())
            .arg(cut->fileBytes);
    }
    if (const auto* samples = dynamic_cast<const radiograph::ImageSampleFormatError*>(&error)) {
        return QStringLiteral(
                   "The TIFF file's samples are %1, which Stratalyser does not read. Please save the "
                   "radiograph with 8 or 16 bits per channel (unsigned integers).")
            .arg(QLatin1String(samples->kind));
    }
    if (const auto* damaged = dynamic_cast<const radiograph::ImageDamagedError*>(&error)) {
        return QStringLiteral(
                   "The image file is damaged or incomplete: it is a %1 file, but its picture cannot be read. "
                   "It may have been cut short while copying; please open the complete file.")
            .arg(QLatin1String(damaged->format));
    }
    return QStringLiteral(
        "Stratalyser can only read image files in bitmap (.bmp), jpeg (.jpg), PNG (.png) or TIFF (.tif, 8 or "
        "16 bits per channel) format. Please convert the image file using graphic software.");
}

}  // namespace

void MainForm::ImportRadiograph(const QString& givenPath, FirstSection first) {
    try {
        const QString path =
            givenPath.isEmpty() ? ui::dialogs().openFile({QString(), kImageFilter, QString(), false}) : givenPath;
        // Decoded before anything else changes: a picture that cannot be used leaves all as it was.
        const radiograph::Radiograph decoded = radiograph::readRadiograph(path, radiograph::kMaxRadiographWidth);
        const QImage& radiograph = decoded.image;
        CopyBandToPreview();
        radiographPicture->setPicture(radiograph);
        radiographPicture->Refresh();
        DataLength = core::clng(radiographPicture->ScaleWidth());
        RawImageForm& raw = frmRawImage.get();
        raw.rawImage->setPicture(radiograph);
        raw.rawImage->update();
        // A 16-bit radiograph says how it was brought to 8 bits.
        raw.setCaption(decoded.stretch ? QStringLiteral("Original image (") + radiograph::stretchText(*decoded.stretch) +
                                             QStringLiteral(")")
                                       : QStringLiteral("Original image"));
        RadiographImported = true;
        RadiographFileName = path;
        ProposedPositions.clear();  // they belonged to the last radiograph
        DropReferenceCount();
        PreviewForm& preview = frmPreview.get();
        preview.setCaption(QStringLiteral("Preview (") + path + QStringLiteral(")"));
        RenderPreview();

        const long width = static_cast<long>(core::roundHalfEven(radiographPicture->ScaleWidth()));
        YearMark.redim(0, width, Variant(kNoMarker));
        RedoEntries.clear();
        ++MarksVersion;
        MarkerLabel.redim(0, width, kNoMarker);
        MarkerNote.redim(0, width, kNoMarker);
        YearMark(0) = Variant("Year");
        MarkerLabel(0) = QStringLiteral("Lamina");
        MarkerNote(0) = QStringLiteral("Note");

        const layout::Rect area = screenAreaTwips();
        const double extra = core::val(extraWidthBox->Text());
        const double pictureWidth = radiographPicture->surface().widthPixels();
        const auto unset = [](int row) { return References(files::settings::kCurrent, row) == kUnset; };
        if (first == FirstSection::FitScreen || unset(files::settings::kSectionWidth))
            fitSectionToCurveColumns(area, extra,
                                     first == FirstSection::AsKept && !unset(files::settings::kSectionLeft));
        // A section kept from another core or another screen whose curve windows would be wider
        // than a column of the layout is narrowed to fill the column (its left end kept).
        const double expectedWidth =
            (pictureWidth * preview.sectionFrame->Width() / preview.previewImage->Width() + extra) *
                TwipsPerPixel +
            layout::kCurveFrameWidth;
        if (expectedWidth > layout::curveColumnWidth(area)) fitSectionToCurveColumns(area, extra, true);

        placePhotoByRecords();  // a photo already open, over the new radiograph's columns
        RenderSection();
        CurveForm& c1 = curveWindow(1);
        for (int k = 1; k <= 6; ++k) curveWindow(k).plot->setMousePointer(ui::MousePointer::Cross);
        ActiveYearsForm& active = frmActiveYears.get();
        const layout::Point years = layout::activeYears(placeOf(preview));
        PlaceByLayout(active, kActiveYearsTop, {years.left, years.top, active.Width(), active.Height()},
                      PlacesOfShownWindows({&active, &c1}));
        active.Show();
        ArrangeCurveWindows(true);

        // Default band: 21 rows around the middle, or about the whole height of a short image.
        const double scaleHeight = c1.plot->ScaleHeight();
        const double h = scaleHeight > 40 ? 10 : core::roundHalfEven(scaleHeight / 2);
        c1.bandLines(0)->setEnds(c1.bandLines(0)->X1(), scaleHeight / 2 - h, c1.bandLines(0)->X2(),
                                 scaleHeight / 2 - h);
        c1.bandLines(1)->setEnds(c1.bandLines(1)->X1(), scaleHeight / 2 + h, c1.bandLines(1)->X2(),
                                 scaleHeight / 2 + h);
        c1.Show();
        CopyBandToPreview();
        UpdateBandLabel();
        c1.plot->Refresh();
        preview.previewImage->update();
        ComputeGreyProfile();

        // Value range of curve window 1: rounded outward only when a box was empty.
        float mx = -999999, mn = 999999;
        for (long i = 1; i <= width; ++i) {
            if (GreyProfile(i) < mn) mn = GreyProfile(i);
            if (GreyProfile(i) > mx) mx = GreyProfile(i);
        }
        Variant top(mx), bottom(mn);
        if (c1.bottomValueBox->Text().isEmpty() || c1.topValueBox->Text().isEmpty()) {
            top = radiograph::RoundUpToStep(mx, mn);
            mx = static_cast<float>(top.toDouble());
            bottom = radiograph::RoundDownToStep(mn, mx);
        }
        c1.topValueBox->setText(top.toString());
        c1.bottomValueBox->setText(bottom.toString());
        RedrawGreyCurve();

        frmScale->setLeft(c1.Left());
        frmScale->setTop(c1.Top() + c1.Height());
        UpdateActiveYears();

        importRadiographButton->setEnabled(false);
        mnuOpenRadio->setEnabled(false);
        mnuCloseCore->setEnabled(true);
        mnuExportPicture->setEnabled(true);
        for (ui::MenuItem* keys : {undoKeys, redoKeys}) keys->setEnabled(true);
        mnuOpenXRF->setEnabled(true);
        importXrfButton->setEnabled(true);
        importXrfButton->setFocus();
        preview.mnuLamina->setEnabled(true);
        for (ui::Slider* s : radiographSliders) s->setEnabled(true);
        sliderCaptions(0)->setEnabled(true);
        sliderCaptions(1)->setEnabled(true);
        if (decoded.pages > 1) {
            ui::dialogs().messageBox(QStringLiteral("The file %1 holds %2 pictures (pages); Stratalyser shows its "
                                                    "first as the radiograph.")
                                         .arg(QDir::toNativeSeparators(path))
                                         .arg(decoded.pages),
                                     ui::MessageButtons::Ok, ui::MessageIcon::Information, QStringLiteral("Stratalyser"));
        }
    } catch (const core::RuntimeError& e) {
        setProgress(false);
        ui::dialogs().messageBox(guidanceFor(e), ui::MessageButtons::Ok, ui::MessageIcon::Exclamation,
                                 kGuidanceTitle);
    }
}

// The section of a first look: as many columns as a column of curve windows shows, so that the two
// columns together fill the screen's width (the whole core when it is shorter), at the core's top
// unless the settings keep a place for it.
void MainForm::fitSectionToCurveColumns(const layout::Rect& area, double extraPixels, bool keepLeft) {
    PreviewForm& preview = frmPreview.get();
    RawImageForm& raw = frmRawImage.get();
    const long coreColumns = static_cast<long>(radiographPicture->surface().widthPixels());
    const long columns = layout::sectionColumns(area, TwipsPerPixel, extraPixels, coreColumns);
    const double width =
        static_cast<double>(columns) * preview.previewImage->Width() / static_cast<double>(coreColumns);
    // A kept left edge stays unless the wider section would run past the core's end.
    const auto place = [&](ui::Shape* frame, double pictureLeft, double pictureWidth) {
        const double right = pictureLeft + pictureWidth - width;
        frame->setWidth(width);
        frame->setLeft(keepLeft ? std::min(frame->Left(), right) : right);
    };
    place(preview.sectionFrame, preview.renderSurface->Left(), preview.renderSurface->Width());
    place(raw.sectionFrame, raw.rawImage->Left(), raw.rawImage->Width());
}

// After the import the elastic scale sits by the curve windows.
void MainForm::openRadiograph(const QString& givenPath, FirstSection first) {
    ImportRadiograph(givenPath, first);
    PlaceElasticScale();
}

void MainForm::renderRadiograph() {
    RenderPreview();
    RenderSection();
}

}  // namespace app
