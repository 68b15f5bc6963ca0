#include <numeric>
#include <set>

#include "AppFixture.h"

using ImportTest = AppTest;

// The scanner's radiograph in each of its forms imports with one position per pixel column and a
// band of 21 rows around the middle of its 84. The 16-bit TIFF is stretched to 8 bits between its
// 0.5 and 99.5 % values (said in the original image's caption), and its grey curve has the shape
// of the one from the 8-bit copy.
TEST_F(ImportTest, TheRealRadiographImportsInEachFormWithOnePositionPerColumn) {
    std::vector<std::vector<double>> curves;
    for (const char* name : {"radiograph.bmp", "radiograph.jpg", "radiograph.tif"}) {
        restart();
        app::MainForm& main = openRadiograph(testsupport::realData(name));
        EXPECT_TRUE(dialogs->shownOf(ui::ScriptedDialogs::Kind::Message).empty()) << name;
        ASSERT_EQ(app::DataLength, 2251) << name;
        EXPECT_EQ(app::frmPreview->Caption(), "Preview (" + testsupport::realData(name) + ")");
        EXPECT_TRUE(app::YearMark(2251) == "---" && app::YearMark(0) == "Year" && app::MarkerNote(2251) == "---");
        EXPECT_TRUE(!main.importRadiographButton->isEnabled() &&
                    main.importXrfButton->isEnabled());  // the XRF import is next
        EXPECT_TRUE(app::frmCurve1->isVisible() && app::frmActiveYears->isVisible());
        EXPECT_EQ(QPointF(app::frmCurve1->bandLines(0)->Y1(), app::frmCurve1->bandLines(1)->Y1()), QPointF(32, 52));
        EXPECT_EQ(app::frmCurve1->bandLabel->Caption(), " Width: 20 pixels");
        const bool sixteen = QByteArray(name).endsWith("tif");
        const QString caption = app::frmRawImage->Caption();
        EXPECT_EQ(caption.startsWith("Original image (16-bit, raw "), sixteen) << caption.toStdString();
        EXPECT_EQ(caption.contains("shown as 0..255 (0.5-99.5 %)"), sixteen);
        std::vector<double> curve;
        for (long i = 1; i <= app::GreyProfile.upper(); ++i) curve.push_back(app::GreyProfile(i));
        curves.push_back(curve);
    }
    // The correlation of each curve with the bitmap's.
    const auto centred = [](std::vector<double> v) {
        const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
        for (double& x : v) x -= mean;
        return v;
    };
    const auto dot = [](const auto& a, const auto& b) { return std::inner_product(a.begin(), a.end(), b.begin(), 0.0); };
    const std::vector<double> a = centred(curves[0]);
    for (const std::size_t k : {1u, 2u}) {
        const std::vector<double> b = centred(curves[k]);
        EXPECT_GE(dot(a, b) / std::sqrt(dot(a, a) * dot(b, b)), 0.95) << k;
    }
}

// Synthetic radiographs of several heights: the grey profile is each column's known grey (the band
// lies in the uniform middle rows), the band covers about the whole height of a short picture, and
// window 1's range is rounded outward from the profile's extremes (steps of 50 below 1000), or
// takes the exact extremes when the range boxes were filled before the import.
TEST_F(ImportTest, TheGreyProfileIsTheKnownColumnGreyWithItsBandAndRange) {
    const struct {
        int height;
        double upper, lower;  // the band's lines in window 1
        bool filledBoxes;
    } rows[] = {{80, 30, 50, false}, {80, 30, 50, true}, {30, 0, 30, false}, {41, 10.5, 30.5, false}, {1000, 490, 510, false}};
    std::set<double> curveHeights;  // the layout's, whatever the radiograph's height
    for (const auto& row : rows) {
        restart();
        start();  // the boxes exist before the import
        if (row.filledBoxes) {
            app::frmCurve1->topValueBox->setText("5");
            app::frmCurve1->bottomValueBox->setText("1");
        }
        openSyntheticCore(300, row.height);
        EXPECT_EQ(QPointF(app::frmCurve1->bandLines(0)->Y1(), app::frmCurve1->bandLines(1)->Y1()),
                  QPointF(row.upper, row.lower))
            << row.height;
        curveHeights.insert(app::frmCurve1->Height());
        EXPECT_EQ(curveHeights.size(), 1u) << row.height;
        if (row.height == 1000) {  // rows a fraction of a pixel high: a line is still grabbed two pixels off
            ui::PictureBox* plot = app::frmCurve1->plot;
            const QPoint offTheLine(20, qRound(row.upper * plot->height() / 1000) + 2);
            QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, offTheLine);
            EXPECT_NE(app::DragUpperLine.toDouble(), 0);
            QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, offTheLine);
        }
        if (row.height != 80) continue;
        for (int i = 1; i <= 300; ++i) ASSERT_EQ(app::GreyProfile(i), core.columnGrey[300 - i]) << i;
        const int high = *std::max_element(core.columnGrey.begin(), core.columnGrey.end());
        const int low = *std::min_element(core.columnGrey.begin(), core.columnGrey.end());
        EXPECT_EQ(app::frmCurve1->topValueBox->Text(), QString::number(row.filledBoxes ? high : (high / 50 + 1) * 50));
        EXPECT_EQ(app::frmCurve1->bottomValueBox->Text(), QString::number(row.filledBoxes ? low : low / 50 * 50));
    }
}

// The section behind the curves, re-rendered by the sliders and the "Colour" box with the same rule
// as the preview.
TEST_F(ImportTest, SlidersAndColourReRenderPreviewAndSection) {
    openSyntheticCore(400, 40, true);
    app::MainForm& main = app::frmMain.get();
    const QImage& source = app::radiographSource();
    // Plot row 12 shows the radiograph row nearest it, the radiograph's rows spread over the plot.
    const int rows = app::frmMain->sectionBackground->Picture().height();
    auto expectedGrey = [&](int x, int y, int brightness, float contrast, bool colour) {
        const QRgb p = source.pixel(x, (2 * y + 1) * source.height() / (2 * rows));
        return core::toQRgb(radiograph::adjustedColour(
            qRed(p), qGreen(p), qBlue(p), {brightness, contrast, colour, radiograph::Precision::Single}));
    };
    const int column = static_cast<int>(app::ViewLeft) + 5;
    auto sectionPixel = [&] { return app::frmMain->sectionBackground->Picture().pixel(5, 12); };
    EXPECT_EQ(sectionPixel(), expectedGrey(column, 12, 0, 1.0f, false));
    // The section is painted behind every curve window, over its whole height.
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(plot(k)->Picture().pixel(5, 12), sectionPixel()) << k;

    main.radiographSliders(1)->setValue(50);  // contrast 10^0.5
    EXPECT_FLOAT_EQ(app::Contrast, radiograph::contrastFromSlider(50));
    EXPECT_EQ(sectionPixel(), expectedGrey(column, 12, 0, app::Contrast, false));
    main.radiographSliders(0)->setValue(-20);
    EXPECT_EQ(app::Brightness, -51);
    EXPECT_EQ(sectionPixel(), expectedGrey(column, 12, -51, app::Contrast, false));

    main.colourCheck->setValue(1);  // the tint of the synthetic core survives
    EXPECT_EQ(sectionPixel(), expectedGrey(column, 12, -51, app::Contrast, true));
    const QImage section = app::frmMain->sectionBackground->Picture();
    int tinted = 0;
    for (int x = 0; x < 40; ++x) tinted += qRed(section.pixel(x, 12)) != qBlue(section.pixel(x, 12));
    EXPECT_GT(tinted, 0);
    // The preview follows with the same rule (double precision, nearest pixel).
    const QImage preview = app::frmPreview->renderSurface->Picture();
    EXPECT_NE(qRed(preview.pixel(10, 10)), qBlue(preview.pixel(10, 10)));
    main.colourCheck->setValue(0);
    EXPECT_EQ(qRed(sectionPixel()), qBlue(sectionPixel()));
}

// What the user sees at either monitor resolution: the preview shows the whole core at its own
// pixel size, the section rectangle covers what the plots show, and curve window 1 holds its plot
// and both range boxes.
void expectConsistentLayout(const char* resolution) {
    SCOPED_TRACE(resolution);
    const int twips = ui::twipsPerPixel();
    app::PreviewForm& preview = app::frmPreview.get();
    EXPECT_EQ(preview.renderSurface->Picture().size(),
              preview.previewImage->size());  // every column, neither cropped nor squeezed
    EXPECT_EQ(preview.previewImage->width(), qRound(app::frmRawImage->rawImage->Width() / twips));
    EXPECT_EQ(preview.width(), qRound(preview.Width() / twips) - preview.frameAllowance().width());
    // The rectangle's pixels on the preview, in radiograph columns.
    const double columnsPerPixel = 2251.0 / preview.previewImage->width();
    EXPECT_NEAR(preview.sectionFrame->x() * columnsPerPixel, app::ViewLeft, columnsPerPixel + 1);
    EXPECT_NEAR((preview.sectionFrame->x() + preview.sectionFrame->width()) * columnsPerPixel, app::ViewRight,
                columnsPerPixel + 1);
    app::CurveForm& c1 = app::frmCurve1.get();
    EXPECT_EQ(c1.plot->width(), app::ViewRight - app::ViewLeft + 2);  // the section, plus 2 pixels
    for (const QWidget* w : std::initializer_list<const QWidget*>{c1.plot, c1.topValueBox, c1.bottomValueBox})
        EXPECT_TRUE(c1.client()->rect().contains(w->geometry())) << w->geometry().right() << "," << w->geometry().bottom();
}

TEST_F(ImportTest, HighAndLowMonitorResolutionShowTheWholeCoreAndTheSection) {
    app::MainForm& main = openRadiograph(testsupport::realData("radiograph.bmp"));
    expectConsistentLayout("Low");
    const QSize lowPreview = app::frmPreview->size(), lowMain = main.size();
    const long viewLeft = app::ViewLeft, viewRight = app::ViewRight;

    // The user picks "High" in the box, by keyboard.
    main.resolutionList->setFocus();
    QTest::keyClick(main.resolutionList, Qt::Key_Up);
    EXPECT_TRUE(main.resolutionList->Text() == "High" && app::TwipsPerPixel == 12 && ui::twipsPerPixel() == 12);
    expectConsistentLayout("High");
    EXPECT_EQ(main.frameAllowance(), QSize(10, 30));  // borders and caption a quarter larger too
    EXPECT_EQ(main.size(), QSize(qRound(main.Width() / 12) - 10, qRound(main.Height() / 12) - 30));
    EXPECT_EQ(main.radiographPicture->surface().size(), QSize(2251, 84));  // the radiograph keeps its pixels
    // The same section, a quarter larger on the screen.
    EXPECT_TRUE(app::ViewLeft == viewLeft && app::ViewRight == viewRight);
    // The three rows of curve windows and the scale below them still fit the screen, now fewer twips high.
    EXPECT_LE(app::frmCurve1->Top() + 3 * app::frmCurve1->Height() + app::frmScale->Height(), 1024 * 12);

    QTest::keyClick(main.resolutionList, Qt::Key_Down);
    EXPECT_EQ(main.resolutionList->Text(), "Low");
    expectConsistentLayout("Low again");
    EXPECT_TRUE(app::frmPreview->size() == lowPreview && main.size() == lowMain);
}
