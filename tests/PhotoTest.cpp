// The core photo of the real YAN8A1 set: imported through the main window, framed over the
// section, opened as a close-up with its colour profiles, dragged, adjusted and linked to the
// curve windows, all through the windows' own controls and menus.

#include <QPainter>

#include "AppFixture.h"

using app::curveWindow;

class PhotoTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        importRealCore();
    }
    app::PhotoForm& importPhoto(const QString& path) {
        dialogs->answerOpen(path);
        app::frmMain->importPhotoButton->click();
        return app::frmPhoto.get();
    }
    app::CropForm& openCloseUp() {
        app::frmPhoto->mnuCrop->trigger();
        return app::frmCrop.get();
    }
    // The scanner's strip imported by the button and its close-up opened by Crop.
    app::CropForm& closeUpOfTheStrip() {
        importPhoto(testsupport::realData("optical.tif"));
        return openCloseUp();
    }
    static QImage flat(int width, int height) {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(90, 60, 30));
        return picture;
    }
    // A plot column's pixel in curve window 1.
    QPoint plotPixel(double column) {
        const ui::PictureBox* plot = curveWindow(1).plot;
        return QPoint(qRound(plot->surface().toPixelX(column)),
                      plot->height() * 2 / 3);  // clear of the labels
    }
};

// The scanner's optical strip opens under the preview, as wide as it, with the frame over the
// section; the optical sliders wait for the close-up.
TEST_F(PhotoTest, TheScannersStripOpensUnderThePreviewWithTheFrameOverTheSection) {
    EXPECT_TRUE(app::frmMain->importPhotoButton->isEnabled());
    app::PhotoForm& p = importPhoto(testsupport::realData("optical.tif"));
    const app::PreviewForm& preview = app::frmPreview.get();
    EXPECT_TRUE(app::PhotoOpen && p.isVisible());
    EXPECT_EQ(p.Caption(), "Core photo (" + testsupport::realData("optical.tif") + ")");
    EXPECT_TRUE(app::PhotoIsStrip);  // 939 x 60 pixels: more than ten times as wide as high
    EXPECT_EQ(QRectF(p.Left(), p.Top(), p.Width(), 0),
              QRectF(preview.Left(), preview.Top() + preview.Height(), preview.Width(), 0));
    EXPECT_EQ(p.photoView->Picture().size(), QSize(939, 60));
    // The frame starts at the section rectangle's screen x and is as wide as the section.
    EXPECT_DOUBLE_EQ(p.frame->Left(), preview.sectionFrame->Left() - (p.Left() - preview.Left()));
    EXPECT_DOUBLE_EQ(p.frame->Width(), app::frmRawImage->sectionFrame->Width());
    EXPECT_TRUE(p.frame->Top() > 0 && p.frame->Top() + p.frame->Height() <= p.photoView->Height());
    EXPECT_TRUE(preview.mnuAlignPicture->Enabled());
    for (ui::Slider* s : app::frmMain->photoSliders) EXPECT_FALSE(s->isEnabled());
}

// A photo that is not a strip, through the menu: under the preview and as wide as it (a camera
// photo never opens off the screen), the frame in the photo's middle. A photo too
// coarse for the section is said so at Crop.
TEST_F(PhotoTest, APhotoOfAnotherShapeOpensRightAlignedUnderThePreview) {
    dialogs->answerOpen(writeFile(dir.filePath("photo.png"), samples::pictureBytes(flat(400, 300), "png")));
    app::frmMain->mnuOpenPhoto->trigger();
    app::PhotoForm& p = app::frmPhoto.get();
    const app::PreviewForm& preview = app::frmPreview.get();
    ASSERT_TRUE(app::PhotoOpen && !app::PhotoIsStrip);
    EXPECT_DOUBLE_EQ(p.Width(), preview.Width());
    EXPECT_EQ(QPointF(p.Left() + p.Width(), p.Top()),
              QPointF(preview.Left() + preview.Width(), preview.Top() + preview.Height()));
    EXPECT_DOUBLE_EQ(p.frame->Top(), p.photoView->Height() * 3 / 10.0);
    EXPECT_DOUBLE_EQ(p.frame->Height(), p.photoView->Height() * 2 / 5.0);

    // One pixel for the whole core: the frame holds less than one.
    importPhoto(writeFile(dir.filePath("tiny.png"), samples::pictureBytes(flat(1, 2), "png")));
    dialogs->clearRecord();
    app::frmPhoto->mnuCrop->trigger();
    EXPECT_TRUE(onlyMessage().contains("less than one pixel"));
    EXPECT_FALSE(app::CropOpen);
}

// Crop opens the close-up with the band's mean colour as its profile and the curves drawn over the
// strip. The band's bottom edge dragged by a few pixels covers a height that is not a whole number
// of photo rows: the profile sums the photo rows whose positions lie in the band and divides by
// the band's height rounded. Dragging the whole band measures other rows.
TEST_F(PhotoTest, TheCloseUpMeasuresTheBandAndFollowsItsDrags) {
    app::CropForm& c = closeUpOfTheStrip();
    app::PhotoForm& p = app::frmPhoto.get();
    ASSERT_TRUE(app::CropOpen);
    for (ui::Slider* s : app::frmMain->photoSliders) EXPECT_TRUE(s->isEnabled());
    EXPECT_TRUE(c.mnuLAB->Checked() && c.mnuLinkPosition->Checked());
    // The scale window directly under the close-up.
    EXPECT_EQ(QPointF(app::frmScale->Left(), app::frmScale->Top()), QPointF(c.Left(), c.Top() + c.Height()));
    const long n = core::clng(app::CropRight - app::CropLeft);
    ASSERT_GT(n, 10);
    EXPECT_EQ(app::ColourProfile.upper1(), n + 1);
    EXPECT_GT(countPixels(c.closeUpView->Picture(), qRgb(0, 255, 0)), n);  // the curves over the strip

    // The mean of a channel at profile column i, worked out from the band on the screen.
    const QImage& photo = p.photo();
    const auto bandMean = [&](int i, int (*channel)(QRgb)) {
        const double rows = app::CropBottom - app::CropTop;
        const double top = (c.measuringBand->Top() - c.closeUpView->Top()) * rows / c.closeUpView->Height() + app::CropTop;
        const double bottom = c.measuringBand->Height() / c.closeUpView->Height() * rows + top;
        const photo::StripRegion region =
            photo::stripRegion({app::CropLeft, app::CropTop, app::CropRight, app::CropBottom});
        double sum = 0;
        for (int j = 0; j <= qRound(rows); ++j) {
            const double at = app::CropTop + j;
            if (top < at && at <= bottom) sum += channel(photo.pixel(region.left + i, region.top + j));
        }
        return std::pair{sum / std::max(1L, std::lround(bottom - top)), bottom - top};
    };
    EXPECT_NEAR(app::ColourProfile(5, photo::kRed), bandMean(5, qRed).first, 0.01);
    const int bottom = qRound(c.measuringBand->Top() + c.measuringBand->Height());
    drag(c.closeUpView, QPoint(40, bottom), QPoint(40, bottom + 3));
    const auto [red, height] = bandMean(5, qRed);
    ASSERT_GT(std::abs(height - std::round(height)), 0.05) << height;  // not a whole number of rows
    EXPECT_NEAR(app::ColourProfile(5, photo::kRed), red, 0.01);
    EXPECT_NEAR(app::ColourProfile(9, photo::kBlue), bandMean(9, qBlue).first, 0.01);

    // The whole band dragged down by a fifth of the close-up.
    const QPoint grab(c.closeUpView->width() / 3, qRound(c.measuringBand->Top() + c.measuringBand->Height() / 2));
    const double topBefore = c.measuringBand->Top();
    drag(c.closeUpView, grab, grab + QPoint(0, c.closeUpView->height() / 5));
    EXPECT_EQ(c.bandDragMode(), 0);
    EXPECT_NEAR(c.measuringBand->Top(), topBefore + c.closeUpView->height() / 5, 1);
    EXPECT_NEAR(app::ColourProfile(5, photo::kGreen), bandMean(5, qGreen).first, 0.01);
    EXPECT_FALSE(app::ProfileDirty);
}

// The band's top edge dragged down past its bottom leaves a band 3 pixels high, bottom unmoved;
// a press outside the band drags the curve scale instead.
TEST_F(PhotoTest, BandEdgesAndTheCurveScaleDrag) {
    app::CropForm& c = closeUpOfTheStrip();
    const double bottom = c.measuringBand->Top() + c.measuringBand->Height();
    drag(c.closeUpView, QPoint(40, qRound(c.measuringBand->Top())), QPoint(40, qRound(bottom) + 10));
    EXPECT_DOUBLE_EQ(c.measuringBand->Height(), 3);
    EXPECT_NEAR(c.measuringBand->Top() + c.measuringBand->Height(), bottom, 1e-4);

    // Above the band: the curves grow as the pointer goes up.
    const QImage before = c.closeUpView->Picture();
    const QPoint start(60, 2);
    QTest::mousePress(c.closeUpView, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_EQ(c.bandDragMode(), 0);
    QTest::mouseMove(c.closeUpView, QPoint(60, 1));
    QTest::mouseMove(c.closeUpView, QPoint(60, 0));
    QTest::mouseRelease(c.closeUpView, Qt::LeftButton, Qt::NoModifier, QPoint(60, 0));
    EXPECT_FLOAT_EQ(app::ProfileScale, static_cast<float>(1 + 0.1 * (2 * ui::twipsPerPixel()) / c.closeUpView->Height()));
    EXPECT_NE(c.closeUpView->Picture(), before);
}

// The colour models through the pop-up menu: one check at a time; the same model again redraws
// without changing the checks.
TEST_F(PhotoTest, ColourModelsByThePopUpMenu) {
    app::CropForm& c = closeUpOfTheStrip();
    const QImage lab = c.closeUpView->Picture();
    c.mnuRGB->trigger();
    EXPECT_TRUE(c.mnuRGB->Checked() && !c.mnuLAB->Checked() && !c.mnuGrey->Checked());
    const QImage rgb = c.closeUpView->Picture();
    EXPECT_NE(rgb, lab);
    c.mnuGrey->trigger();
    c.mnuGrey->trigger();
    EXPECT_TRUE(c.mnuGrey->Checked() && !c.mnuRGB->Checked());
    // The grey curve's place: the close-up's height stands for 300 grey steps of half a level, from
    // grey 150 at the top edge to grey 0 at the bottom.
    const QImage grey = c.closeUpView->Picture();
    const long n = core::clng(app::CropRight - app::CropLeft);
    for (const long i : {5L, n / 2, n - 5}) {
        const int x = qRound(double(i) * grey.width() / n);
        const double y = (300 - 2 * app::ColourProfile(i, photo::kGrey)) / 300 * grey.height();
        int nearest = grey.height();
        for (int row = 0; row < grey.height(); ++row)
            if (grey.pixel(x, row) == qRgb(0, 255, 0)) nearest = std::min(nearest, qAbs(row - qRound(y)));
        EXPECT_LE(nearest, 2) << "column " << i << ", grey " << app::ColourProfile(i, photo::kGrey);
    }
    c.mnuLAB->trigger();
    EXPECT_EQ(c.closeUpView->Picture(), lab);
    // A right click opens the pop-up menu.
    QTest::mouseClick(c.closeUpView, Qt::RightButton, Qt::NoModifier, QPoint(30, 5));
    EXPECT_EQ(c.lastPopup(), c.mnuRB);
    c.mnuRB->menu()->hide();
}

// Brightness and contrast change what the close-up shows, never what the profile measures.
TEST_F(PhotoTest, TheOpticalSlidersAdjustTheCloseUpOnly) {
    app::CropForm& c = closeUpOfTheStrip();
    app::MainForm& main = app::frmMain.get();
    const float red = app::ColourProfile(3, photo::kRed), l = app::ColourProfile(3, photo::kLabL);
    main.photoSliders(0)->setValue(100);  // brightness +255: white
    main.photoSliders(1)->setValue(0);
    EXPECT_EQ(app::PhotoBrightness, 255);
    QImage strip = c.stripBuffer->Background();
    EXPECT_EQ(strip.pixel(strip.width() / 2, strip.height() / 2), qRgb(255, 255, 255));
    EXPECT_FLOAT_EQ(app::ColourProfile(3, photo::kRed), red);
    EXPECT_FLOAT_EQ(app::ColourProfile(3, photo::kLabL), l);
    main.photoSliders(0)->setValue(0);
    main.photoSliders(1)->setValue(-100);  // contrast a tenth
    EXPECT_FLOAT_EQ(app::PhotoContrast, 0.1f);
    strip = c.stripBuffer->Background();
    const QRgb source =
        app::frmPhoto->photo().pixel(core::cint(app::CropLeft) + 4, core::cint(app::CropTop) + 2);
    EXPECT_EQ(qRed(strip.pixel(4, 2)), core::cint(qRed(source) * 0.1f));
}

// Pointer linking, "Position": column ViewLeft + 100 of a curve plot is pixel 100 of the close-up
// (with the scale docked under it), both ways. "Scale": the section spans the close-up.
TEST_F(PhotoTest, PointersFollowEachOtherInBothLinkModes) {
    app::CropForm& c = closeUpOfTheStrip();
    ASSERT_EQ(app::frmScale->Left(), c.Left());
    app::CurveForm& c1 = curveWindow(1);
    hover(c1.plot, plotPixel(app::ViewLeft + 100));
    EXPECT_TRUE(c.pointerLine->X1() == 100 && c.pointerLine->X2() == 100);

    hover(c.closeUpView, QPoint(100, 10));
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(shown(k, plotPixel(app::ViewLeft + 100).x()), 0xFFFFC800u) << "window " << k;
    EXPECT_NEAR(c.pointerLine->X1(), 100, 1e-6);

    c.mnuLinkScale->trigger();
    EXPECT_TRUE(c.mnuLinkScale->Checked() && !c.mnuLinkPosition->Checked());
    const double s = c1.plot->ScaleWidth();
    app::ShowCropPointer(app::ViewLeft + s, s);  // the plot's last column: 2 / (S + 2) short
    EXPECT_NEAR(c.pointerLine->X1(), c.closeUpView->Width() * s / (s + 2), 1e-9);
    hover(c1.plot, plotPixel(app::ViewLeft + s / 2));
    EXPECT_NEAR(c.pointerLine->X1(), c.closeUpView->Width() * (s / 2) / (s + 2), 1.5);

    // Back to "Position": the scale is docked again.
    app::frmScale->setLeft(c.Left() + 3000);
    c.mnuLinkPosition->trigger();
    EXPECT_EQ(app::frmScale->Left(), c.Left());
    // With marking off, the close-up's pointer draws nothing in the curves.
    app::ToggleActivation();
    ASSERT_FALSE(app::PointerActive);
    hover(c.closeUpView, QPoint(120, 10));
    EXPECT_FALSE(c1.plot->surface().hasTransient());
}

// Dragging on the photo: the frame stops at the window's top, its top edge cannot pass its
// bottom, and the photo itself moves with the frame; the close-up follows once released.
TEST_F(PhotoTest, DragsOnThePhotoMoveTheFrameItsEdgesAndThePhoto) {
    closeUpOfTheStrip();
    app::PhotoForm& p = app::frmPhoto.get();
    const double x = p.frame->Left() + p.frame->Width() / 2;
    // The whole frame, far up: stops at Top 0.
    const double middle = p.frame->Top() + p.frame->Height() / 2;
    const float firstTop = app::CropTop;
    drag(p.photoView, pixels(x, middle), pixels(x, middle - 3000));  // released above the window
    EXPECT_EQ(p.frame->Top(), 0);
    EXPECT_TRUE(app::CropTop < firstTop && app::CropTop == p.cropRect().top);  // the close-up followed
    // Far down: stops at the window's bottom.
    drag(p.photoView, pixels(x, p.frame->Height() / 2), pixels(x, 6000));
    EXPECT_NEAR(p.frame->Top(), p.ScaleHeight() - p.frame->Height(), 1e-9);
    // The top edge dragged below the bottom: 60 twips high, bottom where it was.
    p.frame->place(p.frame->Left(), 150, p.frame->Width(), 450);
    drag(p.photoView, pixels(x, 150), pixels(x, 900));
    EXPECT_NEAR(p.frame->Top() + p.frame->Height(), 600, 15);
    EXPECT_EQ(p.frame->Height(), 60);

    // A press beside the frame drags the photo: the proxy moves, the photo lands there on release,
    // which renders the close-up of the frame's new photo rows.
    p.frame->place(p.frame->Left(), 150, p.frame->Width(), 450);
    app::FitPhotoFrame();
    const float cropTop = app::CropTop;
    const double beside = p.frame->Left() > 600 ? p.frame->Left() - 300 : p.frame->Left() + p.frame->Width() + 300;
    QTest::mousePress(p.photoView, Qt::LeftButton, Qt::NoModifier, pixels(beside, 300));
    EXPECT_TRUE(p.dragProxy->isVisible() && p.photoView->blank());
    QTest::mouseMove(p.photoView, pixels(beside, 150));
    EXPECT_NEAR(p.dragProxy->Top(), -150, 15);
    EXPECT_NEAR(p.frame->Top(), 0, 15);  // the frame moved with it
    QTest::mouseRelease(p.photoView, Qt::LeftButton, Qt::NoModifier, pixels(beside, 150));
    EXPECT_FALSE(p.dragProxy->isVisible() || p.photoView->blank());
    EXPECT_EQ(p.photoView->Top(), p.dragProxy->Top());
    EXPECT_FLOAT_EQ(app::CropTop, cropTop);  // same photo rows: frame and photo moved together
    drag(p.photoView, pixels(x, 300), pixels(x, 6000));  // the frame down again: it ends inside the moved photo
    EXPECT_LE(p.frame->Top() + p.frame->Height(), p.photoView->Top() + p.photoView->Height());
}

// The alignment commands: "Align radiograph" stacks the preview and the centimetre scale above the
// photo (at the screen's top when there is no room); the scale window's pop-up puts it under the
// close-up, as low as the screen allows; "Align picture" puts the photo under the preview. A double
// click on the photo brings the close-up forward.
TEST_F(PhotoTest, AlignmentCommandsStackThePhotoWindows) {
    app::PhotoForm& p = importPhoto(testsupport::realData("optical.tif"));
    app::PreviewForm& preview = app::frmPreview.get();
    app::MetreScaleForm& metre = app::frm1m.get();
    p.Move(900, 6000, p.Width(), p.Height());
    p.mnuAlignRadio->trigger();
    EXPECT_EQ(QPointF(preview.Left(), preview.Top()), QPointF(900, 6000 - preview.Height()));
    EXPECT_EQ(QPointF(metre.Left(), metre.Top()), QPointF(900, 6000 - preview.Height() - metre.Height()));
    p.setTop(preview.Height() / 2);
    p.mnuAlignRadio->trigger();
    EXPECT_EQ(preview.Top() + metre.Top(), 0);

    app::CropForm& c = openCloseUp();
    app::ScaleForm& scale = app::frmScale.get();
    scale.mnuRB_Click();
    scale.setLeft(0);
    scale.mnu(7)->trigger();
    EXPECT_EQ(QPointF(scale.Left(), scale.Top()), QPointF(c.Left(), c.Top() + c.Height()));
    c.setTop(ui::screen::heightTwips() - c.Height());
    c.mnuAlignScale->trigger();
    EXPECT_EQ(scale.Top(), ui::screen::heightTwips() - 2 * scale.Height());

    p.setTop(9000);
    preview.mnuAlignPicture->trigger();
    EXPECT_EQ(p.Top(), preview.Top() + preview.Height());
    c.Hide();
    doubleClick(p.photoView, QPoint(3, 3));
    EXPECT_TRUE(c.isVisible());
}

// The close-up's button shows the whole photo, magnified like the close-up, the strip at the
// corner, and again the band. Closing the photo window closes the close-up and disables the
// optical sliders; the next import opens both windows afresh.
TEST_F(PhotoTest, TheWholePhotoInTheCloseUpAndClosingThePhoto) {
    app::CropForm& c = closeUpOfTheStrip();
    app::PhotoForm& p = app::frmPhoto.get();
    c.wholePhotoButton->click();
    EXPECT_TRUE(c.wholePhotoView->isVisible() && !c.closeUpView->isVisible());
    const int z = std::max(1, static_cast<int>(core::clng((c.Width() - 120) / p.frame->Width())));
    EXPECT_NEAR(c.wholePhotoView->Left(), -z * p.frame->Left() / ui::twipsPerPixel(), 1);
    EXPECT_NEAR(c.wholePhotoView->Width(), z * p.photoView->Width() / ui::twipsPerPixel(), 1);
    c.wholePhotoButton->click();
    EXPECT_TRUE(c.closeUpView->isVisible() && !c.wholePhotoView->isVisible());

    c.mnuRGB->trigger();
    p.close();
    EXPECT_FALSE(app::PhotoOpen || app::CropOpen || c.isVisible());
    for (ui::Slider* s : app::frmMain->photoSliders) EXPECT_FALSE(s->isEnabled());
    importPhoto(testsupport::realData("optical.jpg"));
    EXPECT_TRUE(app::PhotoOpen);
    EXPECT_TRUE(openCloseUp().mnuLAB->Checked());  // a new close-up: L*a*b*
}

// A photo longer than the scan (the real strip padded 100 columns left and 60 right) with a record
// of its stretch: placed by the scanner's coordinates (millimetres grow towards the left, as the
// positions do), the close-up shows the section's millimetres, wherever the section is dragged.
TEST_F(PhotoTest, APhotoPlacedByTheScannersCoordinatesShowsTheSectionsMillimetres) {
    const QImage real(testsupport::realData("optical.tif"));
    const int padLeft = 100, padRight = 60;
    QImage padded(real.width() + padLeft + padRight, real.height(), QImage::Format_RGB32);
    padded.fill(Qt::black);
    QPainter(&padded).drawImage(padLeft, 0, real);
    // As the real strip spans the radiograph: -0.1 mm at its right edge, 450.1 mm at its left.
    const double mmPerColumn = 450.2 / real.width(), photoEnd = 450.1 + padLeft * mmPerColumn;
    writeFile(dir.filePath("optical_document.txt"), QStringLiteral("Optical Start\t%1\tOptical End\t%2\n")
                                                        .arg(-0.1 - padRight * mmPerColumn, 0, 'f', 9)
                                                        .arg(photoEnd, 0, 'f', 9)
                                                        .toUtf8());
    ASSERT_TRUE(padded.save(dir.filePath("optical.png")));
    app::PhotoForm& p = importPhoto(dir.filePath("optical.png"));
    EXPECT_TRUE(p.photoView->ToolTipText().startsWith("Core photo placed by the scanner's coordinates"));
    EXPECT_LT(p.photoView->Left(), 0);  // the padding lies off the window
    openCloseUp();
    app::PreviewForm& preview = app::frmPreview.get();
    for (const double dragTwips : {0.0, -3000.0}) {
        const double middle = preview.sectionFrame->Left() + preview.sectionFrame->Width() / 2;
        drag(preview.previewImage, pixels(middle, 500), pixels(middle + dragTwips, 500));
        EXPECT_NEAR(photoEnd - app::CropLeft * mmPerColumn, 450.1 - app::ViewLeft * 0.2, mmPerColumn) << dragTwips;
        EXPECT_NEAR(photoEnd - app::CropRight * mmPerColumn, 450.1 - app::ViewRight * 0.2, mmPerColumn) << dragTwips;
    }
}
