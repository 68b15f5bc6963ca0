#include "chronology/windows/ChronologyPlotForm.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/SharedState.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/Forms.h"
#include "exporting/PlotsPicture.h"
#include "exporting/windows/ExportForm.h"
#include "ui/ControlArray.h"
#include "ui/Dialogs.h"

namespace app {

using ui::make;

namespace {

const QString kTitle = QStringLiteral("Chronology plot");
// The window's place and size (twips, as every window's), and its layout inside (pixels): the figure
// over a row with the button.
constexpr double kLeftTwips = 600, kTopTwips = 600, kWidthTwips = 12600, kHeightTwips = 9900;
constexpr double kGap = 8, kButtonWidth = 120, kButtonHeight = 26;
constexpr double kSavedWidthPixels = 2000;  // a picture for a paper: sharp at a page's width

}  // namespace

ChronologyPlotForm::ChronologyPlotForm() : ui::Form(ui::Unit::Pixels) {
    setCaption(kTitle);
    Move(kLeftTwips, kTopTwips, kWidthTwips, kHeightTwips);
    QWidget* c = client();
    figureBox = make<ui::PictureBox>(c);
    savePictureButton = make<ui::Button>(c, QStringLiteral("Save picture..."));
    connect(savePictureButton, &ui::Button::Click, this, &ChronologyPlotForm::savePictureButton_Click);
    Form_Resize();
}

void ChronologyPlotForm::Form_Resize() {
    const double width = std::max(1.0, ScaleWidth() - 2 * kGap);
    const double height = std::max(1.0, ScaleHeight() - kButtonHeight - 3 * kGap);
    figureBox->place(kGap, kGap, width, height);
    savePictureButton->place(ScaleWidth() - kGap - kButtonWidth, ScaleHeight() - kGap - kButtonHeight, kButtonWidth,
                             kButtonHeight);
    if (isVisible()) refresh();
}

void ChronologyPlotForm::refresh() {
    figure_ = chronology::chronologyFigure(XrfLoaded ? CurrentVarves(KeptChronologyOptions())
                                                     : std::vector<files::Varve>());
    const QSize size(std::max(1, static_cast<int>(figureBox->Width())), std::max(1, static_cast<int>(figureBox->Height())));
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    // The figure keeps its proportions, as large as the box allows.
    const double scale = std::min(size.width() / exporting::kLayoutWidth, size.height() / chronology::kFigureHeight);
    painter.scale(scale, scale);
    chronology::paintChronologyFigure(painter, figure_);
    painter.end();
    figureBox->setPicture(picture);
}

void ChronologyPlotForm::savePictureButton_Click() {
    const QString name = QFileInfo(WorkingFileName).completeBaseName() + QStringLiteral(" (Chronology plot).png");
    SavePicture(kTitle, name, {kSavedWidthPixels, false}, chronology::kFigureHeight,
                [this](QPainter& painter) { chronology::paintChronologyFigure(painter, figure_); });
}

void ShowChronologyPlot() {
    ChronologyPlotForm& form = frmChronologyPlot.get();
    form.Show();
    form.refresh();
}

void ChronologyPlotMayHaveChanged() {
    RefreshWhenIdle(frmChronologyPlot);
}

}  // namespace app
