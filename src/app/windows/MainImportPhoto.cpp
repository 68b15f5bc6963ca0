#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <map>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/RecentAndDropped.h"
#include "app/windows/Settings.h"
#include "core/Errors.h"
#include "files/PhotoPlacement.h"
#include "files/SettingsRows.h"
#include "photo/PhotoFile.h"
#include "photo/windows/PhotoForms.h"
#include "radiograph/ImageFile.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

// Scanners write TIFF; bitmaps, JPEG and PNG open as well. Which kind a file is, is read from
// its content.
const QString kPhotoFilter = QStringLiteral(
    "Images (*.bmp *.jpg *.jpeg *.png *.tif *.tiff)|*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff|"
    "Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg)|*.jpg|TIFF (*.tif)|*.tif;*.tiff|PNG (*.png)|*.png|All (*.*)|*.*");

// Photo window layout (twips).
constexpr double kStripHeightTwips = 300;  // a photo lower than this is a strip
constexpr float kStripAspect = 10;         // or one more than ten times as wide as high
constexpr double kPhotoBorderTwips = 120;  // the window's width beyond its photo
constexpr double kStripCaptionTwips = 405;  // a strip's window beyond its photo's height

QString whyPhotoCannotBeRead(const core::RuntimeError& error, const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    if (error.number() == core::kNotARegularFile)
        return QStringLiteral("The photo %1 is not a regular file (a pipe, a device or a socket).").arg(name);
    if (const auto* large = dynamic_cast<const radiograph::ImageTooLargeError*>(&error)) {
        return QStringLiteral("The photo %1 declares %2 x %3 pixels, which would need %4 MB of memory once "
                              "decoded; Stratalyser opens photos of up to %5 MB decoded. The file is "
                              "damaged, or the photo must be scaled down first.")
            .arg(name)
            .arg(large->size.width())
            .arg(large->size.height())
            .arg(large->megabytes())
            .arg(radiograph::kMaxDecodedMegabytes);
    }
    if (dynamic_cast<const radiograph::ImageTruncatedError*>(&error)) {
        return QStringLiteral("The photo %1 is incomplete: the file ends before the picture does. It may "
                              "have been cut short while copying; please open the complete file.")
            .arg(name);
    }
    if (const auto* samples = dynamic_cast<const radiograph::ImageSampleFormatError*>(&error)) {
        return QStringLiteral("The photo %1 is a TIFF whose samples are %2, which Stratalyser does not read. "
                              "Please save it with 8 or 16 bits per channel.")
            .arg(name, QLatin1String(samples->kind));
    }
    if (const auto* damaged = dynamic_cast<const radiograph::ImageDamagedError*>(&error)) {
        return QStringLiteral("The photo %1 is damaged or incomplete: it is a %2 file, but its picture cannot be "
                              "read. It may have been cut short while copying; please open the complete file.")
            .arg(name, QLatin1String(damaged->format));
    }
    return QStringLiteral("The photo %1 cannot be opened. Stratalyser reads core photos as bitmap (.bmp), "
                          "JPEG (.jpg), PNG (.png) or TIFF (.tif, 8 or 16 bits per channel).\n\n(%2)")
        .arg(name, QString::fromStdString(error.what()));
}

}  // namespace

void MainForm::ImportCorePhoto(const QString& givenPath) {
    if (PhotoOpen) SaveReferences();  // the windows' places as they are now
    QString path;
    QImage photo;
    int pages = 1;
    try {
        path = givenPath.isEmpty() ? ui::dialogs().openFile({QString(), kPhotoFilter, PhotoFileName, false})
                                   : givenPath;
        // Decoded before anything changes: a file that cannot be used leaves the photo as it was.
        photo = photo::readPhoto(path, &pages);
    } catch (const core::CancelledError&) {
        return;
    } catch (const core::RuntimeError& e) {
        ui::dialogs().messageBox(whyPhotoCannotBeRead(e, path), ui::MessageButtons::Ok,
                                 ui::MessageIcon::Exclamation, QStringLiteral("Message from Stratalyser"));
        return;
    }
    PhotoFileName = path;
    // A photo window the user closed opens afresh, as a newly made window.
    if (!PhotoOpen && frmPhoto.exists()) frmPhoto.destroy();
    const bool newWindow = !frmPhoto.exists();
    PhotoForm& p = frmPhoto.get();
    p.setPhoto(photo);
    p.photoView->place(0, 0, p.photoView->Width(), p.photoView->Height());
    p.dragProxy->place(0, 0, p.dragProxy->Width(), p.dragProxy->Height());
    p.setCaption(QStringLiteral("Core photo (") + PhotoFileName + QStringLiteral(")"));
    const double h = p.photoSource->Height(), w = p.photoSource->Width();
    PhotoIsStrip = h < kStripHeightTwips || static_cast<float>(w / h) > kStripAspect;

    PreviewForm& preview = frmPreview.get();
    using files::settings::kPhotoTop;
    // As wide as the preview and at most as high as the strip's room the layout keeps under it,
    // whatever the photo's own height (a higher one is shown squeezed to it): a photo of any shape
    // stays on the screen under the radiograph it shows and clear of the windows below. A camera
    // photo may keep a place the user chose; a strip always lies under the preview.
    const double height = PhotoIsStrip ? std::min(h + kStripCaptionTwips, layout::kPhotoStripRoom) : layout::kPhotoStripRoom;
    const layout::Rect laidOut{preview.Left(), preview.Top() + preview.Height(), preview.Width(), height};
    p.Move(laidOut.left, laidOut.top, laidOut.width, laidOut.height);
    if (!PhotoIsStrip) PlaceByLayout(p, kPhotoTop, laidOut, PlacesOfShownWindows({&p}));
    p.photoView->setHeight(p.ScaleHeight());
    p.dragProxy->setHeight(p.ScaleHeight());
    // A new window's frame is placed once the photo has its size (the design size means nothing
    // for a strip a few hundred twips high).
    if (newWindow) p.placeInitialFrame();
    p.Show();
    PhotoOpen = true;
    RememberCore();
    placePhotoByRecords();
    preview.mnuAlignPicture->setEnabled(true);
    if (frmCrop.exists()) {
        frmCrop->Hide();
        frmCrop.destroy();
    }
    CropOpen = false;
    ProfileDirty = true;
    enablePhotoSliders(false);
    if (pages > 1) {
        ui::dialogs().messageBox(QStringLiteral("The photo %1 holds %2 pictures (pages); Stratalyser shows its first.")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(pages),
                                 ui::MessageButtons::Ok, ui::MessageIcon::Information, QStringLiteral("Stratalyser"));
    }
}

void MainForm::placePhotoByRecords() {
    if (!PhotoOpen || !frmPhoto.exists()) return;
    // Photo, table and radiograph often share a folder: each folder's records are read once.
    std::map<QString, std::vector<files::ScanRecord>> folders;
    const auto recordsBeside = [&folders](const QString& file) -> const std::vector<files::ScanRecord>& {
        const QString folder = file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
        const auto known = folders.find(folder);
        if (known != folders.end()) return known->second;
        return folders.emplace(folder, files::scanRecordsBeside(file)).first->second;
    };
    const files::PhotoPlan plan =
        files::planPhotoPlacement(recordsBeside(PhotoFileName), recordsBeside(XrfLoaded ? WorkingFileName : QString()),
                                  recordsBeside(RadiographImported ? RadiographFileName : QString()), DataLength,
                                  XrfLoaded ? files::tableColumnPositions(XrfData, DataLength) : std::nullopt);
    PhotoForm& p = frmPhoto.get();
    p.placement = plan.placement;
    QString tip;
    if (plan.placement) {
        tip =
            QStringLiteral("Core photo placed by the scanner's coordinates: %1 to %2 mm along the core (%3)")
                .arg(plan.placement->photoStart.value)
                .arg(plan.placement->photoEnd.value)
                .arg(plan.placement->source);
    } else if (!plan.notes.isEmpty()) {
        tip = QStringLiteral("Core photo not placed by the scanner's coordinates:\n") +
              plan.notes.join(QLatin1Char('\n'));
    }
    p.photoView->setToolTipText(tip);
    if (!plan.placement)
        p.photoView->place(0, p.photoView->Top(), p.Width() - kPhotoBorderTwips, p.photoView->Height());
    FitPhotoFrame();
}

void MainForm::photoSliders_Change() {
    if (CropOpen) RenderCropImage();
}

}  // namespace app
