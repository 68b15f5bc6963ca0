#include "exporting/windows/ExportForm.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Settings.h"
#include "core/Errors.h"
#include "curves/windows/CurveForm.h"
#include "curves/windows/Curves.h"
#include "exporting/PlotsPicture.h"
#include "radiograph/windows/PreviewForm.h"
#include "ui/Dialogs.h"
#include "ui/QtColour.h"

namespace app {

using ui::make;

namespace {

const QString kTitle = QStringLiteral("Export picture");
const QString kFilter =
    QStringLiteral("PNG picture (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf");
constexpr double kWidth = 5400, kLeft = 120, kTop = 120, kRowStep = 450, kBoxes = 1800;
// The widest picture asked for: a poster's width at 300 dots an inch, and a PNG that still fits memory.
constexpr double kMostPixels = 20000, kMostMillimetres = 1600;

void tell(const QString& text, const QString& title = kTitle) {
    ui::dialogs().messageBox(text, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation, title);
}

// The curve windows in use, from window 1, with the section on screen.
exporting::PlotsPicture plotsOnScreen() {
    exporting::PlotsPicture picture;
    const long columns = ViewRight - ViewLeft;
    const core::PositionAxis axis = positionAxis();
    for (int k = 1; k <= 6; ++k) {
        CurveForm& w = curveWindow(k);
        if (!w.isVisible()) continue;
        exporting::CurvePanel panel;
        panel.name = w.Caption().section(QStringLiteral(": "), 1);
        bool ok = false;
        panel.top = w.topValueBox->Text().toDouble(&ok);
        if (!ok) panel.top = 1;
        panel.bottom = w.bottomValueBox->Text().toDouble(&ok);
        if (!ok) panel.bottom = 0;
        for (long c = ViewLeft; c < ViewRight; ++c) {
            const core::Position p = axis.positionOf(core::Column(c));
            const bool held =
                p.value >= CurveValue.lower2() && p.value <= CurveValue.upper2() && k <= CurveValue.upper1();
            const double v = held ? CurveValue(k, p.value) : kMissing;
            panel.values.push_back(v == kMissing ? std::nan("") : v);
        }
        picture.panels.push_back(std::move(panel));
    }
    for (long c = ViewLeft; c < ViewRight; ++c) {
        const int level = MarkerLevel(axis.positionOf(core::Column(c)));
        if (level > 0)
            picture.boundaries.push_back(
                {static_cast<double>(c - ViewLeft), QColor(core::toQRgb(LevelColour(level).toDouble()))});
    }
    picture.background = frmMain->sectionBackground->Picture();
    if (columns > 0 && XrfLoaded) {
        picture.leftMm = frmMain->positionMm(axis.positionOf(core::Column(ViewLeft))).value;
        picture.rightMm = frmMain->positionMm(axis.positionOf(core::Column(ViewRight - 1))).value;
    }
    return picture;
}

exporting::PreviewPicture previewOnScreen() {
    const PreviewForm& preview = frmPreview.get();
    const double width = preview.previewImage->Width();
    return {preview.renderSurface->Image(), width > 0 ? preview.sectionFrame->Left() / width : 0,
            width > 0 ? (preview.sectionFrame->Left() + preview.sectionFrame->Width()) / width : 1};
}

}  // namespace

ExportForm::ExportForm() : ui::Form(ui::Unit::Twips) {
    setCaption(kTitle);
    Move(5000, 4000, kWidth, 2100);
    QWidget* c = client();
    pictureLabel = make<ui::Label>(c, QStringLiteral("Picture of:"));
    pictureLabel->place(kLeft, kTop + 30, kBoxes - kLeft, 285);
    pictureList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    pictureList->place(kBoxes, kTop, 2400, 345);
    pictureList->AddItem(QStringLiteral("Curve windows"));
    pictureList->AddItem(QStringLiteral("Preview"));
    pictureList->setListIndex(0);
    widthLabel = make<ui::Label>(c, QStringLiteral("Width:"));
    widthLabel->place(kLeft, kTop + kRowStep + 30, kBoxes - kLeft, 285);
    widthBox = make<ui::TextBox>(c, QStringLiteral("2000"));
    widthBox->place(kBoxes, kTop + kRowStep, 1200, 345);
    unitList = make<ui::ComboBox>(c, ui::ComboBox::Style::DropDownList);
    unitList->place(kBoxes + 1320, kTop + kRowStep, 1080, 345);
    unitList->AddItem(QStringLiteral("pixels"));
    unitList->AddItem(QStringLiteral("mm"));
    unitList->setListIndex(0);
    saveButton = make<ui::Button>(c, QStringLiteral("Save..."));
    saveButton->place(kWidth - 2 * 1200 - 360, kTop + 2 * kRowStep + 120, 1200, 375);
    saveButton->setDefault(true);
    cancelButton = make<ui::Button>(c, QStringLiteral("Cancel"));
    cancelButton->place(kWidth - 1200 - 240, kTop + 2 * kRowStep + 120, 1200, 375);
    connect(saveButton, &ui::Button::Click, this, &ExportForm::saveButton_Click);
    connect(cancelButton, &ui::Button::Click, this, &ExportForm::Hide);
}

void ExportForm::saveButton_Click() {
    const bool millimetres = unitList->Text() == QStringLiteral("mm");
    bool ok = false;
    const double width = widthBox->Text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const double most = millimetres ? kMostMillimetres : kMostPixels;
    if (!ok || !std::isfinite(width) || width < 1 || width > most) {
        tell(QStringLiteral("Please type the picture's width as a number from 1 to %1 %2.")
                 .arg(most)
                 .arg(unitList->Text()));
        return;
    }
    const bool plots = pictureList->ListIndex() == 0;
    const QString base =
        QFileInfo(WorkingFileName.isEmpty() ? RadiographFileName : WorkingFileName).completeBaseName();
    const QString name = base + (plots ? " (Curves).png" : " (Preview).png");
    bool saved = false;
    if (plots) {
        const exporting::PlotsPicture picture = plotsOnScreen();
        saved = SavePicture(kTitle, name, {width, millimetres}, exporting::plotsPictureHeight(picture),
                            [&picture](QPainter& painter) { exporting::paintPlotsPicture(painter, picture); });
    } else {
        const exporting::PreviewPicture picture = previewOnScreen();
        saved = SavePicture(kTitle, name, {width, millimetres}, exporting::previewPictureHeight(picture),
                            [&picture](QPainter& painter) { exporting::paintPreviewPicture(painter, picture); });
    }
    if (saved) Hide();
}

bool SavePicture(const QString& title, const QString& initialName, exporting::PictureWidth width,
                 double layoutHeight, const std::function<void(QPainter&)>& paint) {
    QString path;
    try {
        path = ui::dialogs().saveFile({title, kFilter, initialName, true});
    } catch (const core::RuntimeError&) {
        return false;  // cancelled
    }
    const std::optional<exporting::PictureFormat> format = exporting::formatOfName(path);
    if (!format) {
        tell(QStringLiteral(
                 "A picture is saved as PNG (.png), SVG (.svg) or PDF (.pdf): please end the name with one "
                 "of these."),
             title);
        return false;
    }
    try {
        exporting::writePicture(path, *format, width, layoutHeight, paint);
        return true;
    } catch (const core::RuntimeError& e) {
        tell(QStringLiteral("The picture could not be saved to %1 (%2). Any earlier file of that name is unchanged.")
                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())),
             title);
        return false;
    }
}

}  // namespace app
