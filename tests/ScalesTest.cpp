#include "AppFixture.h"

using app::curveWindow;

namespace {
constexpr QRgb kOrange = 0xFFFF8000;  // the elastic centre's outline
}

// The real YAN8A1 core, radiograph and scanner table imported through the windows.
class ScalesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        importRealCore();
    }
};

// The millimetre scale under the curves: its 10 mm block edges fall on the columns whose XRF
// positions lie 10, 20, ... mm from the section's right-hand end. The centimetre scale names the
// core's length.
TEST_F(ScalesTest, TheScalesMatchTheScannerPositions) {
    app::ScaleForm& scale = app::frmScale.get();
    EXPECT_TRUE(scale.isVisible());
    const double length = (app::ViewRight - app::ViewLeft) * 0.2;
    EXPECT_EQ(scale.Caption(), core::doubleText(core::roundHalfEven(length * 10) / 10) + " mm");
    EXPECT_EQ(app::frm1m->Caption(), "45 cm");  // 2251 columns x 0.2 mm
    const QImage ruler = scale.scalePicture->Image();
    ASSERT_EQ(ruler.width(), curveWindow(1).plot->surface().widthPixels());
    const int row = ruler.height() / 6;  // inside the 10 mm blocks
    // Colour changes along the top band, from the right: every 10 mm.
    std::vector<int> edges;
    for (int x = ruler.width() - 2; x >= 0; --x)
        if (ruler.pixel(x, row) != ruler.pixel(x + 1, row)) edges.push_back(x + 1);
    ASSERT_GE(edges.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        // The position measured 10 (k + 1) mm from the right-hand end: 0.2 p mm there.
        const double mm = 10.0 * (k + 1);
        long p = 1;
        while (p < app::DataLength && app::XrfData.get(2, p).toDouble() + 0.19 < mm - 1e-9) ++p;
        // Within a pixel and a half: the block's edge pixel and the column's pixel both round.
        EXPECT_NEAR(edges[k], redrawnColumnOf(p), 1.5) << mm << " mm: XRF position " << app::XrfData.get(2, p).toDouble();
    }
}

// "Show elastic scale", a first press 30 pixels right of its centre line and a drag to 60: marks
// every 20 positions (4 mm at 200 micron), overlaid on all six plots from the centre.
TEST_F(ScalesTest, TheElasticScaleStretchesAndOverlaysTheCurves) {
    app::frmMain->mnuElastic->trigger();
    app::ElasticForm& e = app::frmElastic.get();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    EXPECT_TRUE(e.Width() == curveWindow(1).Width() && e.Top() == curveWindow(1).Top() - e.Height());
    const double line = e.centreLine->X1();
    const int centre = qRound(line);
    QWidget* area = e.client();
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(centre + 30, 5));
    EXPECT_DOUBLE_EQ(app::ElasticInterval, (centre + 30 - line) / 3);  // the third mark grabbed
    QTest::mouseMove(area, QPoint(centre + 60, 5));
    EXPECT_DOUBLE_EQ(app::ElasticInterval, (centre + 60 - line) / 3);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(centre + 60, 5));
    const double mm = core::roundHalfEven(200 * app::ElasticInterval / 1000 * 100) / 100;
    EXPECT_EQ(e.Caption(), "Elastic scale (Interval = " + core::doubleText(mm) + " mm)");
    EXPECT_TRUE(app::ElasticShown);
    // The overlay: the orange centre mark in every plot, and the marks follow the pointer's clearing.
    app::ClearCurvePointers();
    const double cx = app::ElasticCentreX, cy = app::ElasticCentreY;
    for (int k = 1; k <= 6; ++k) {
        const QRect around(qRound(plot(k)->surface().toPixelX(cx)) - 4, qRound(plot(k)->surface().toPixelY(cy)) - 4, 9, 9);
        EXPECT_GT(countPixels(plot(k)->Image().copy(around), kOrange), 0) << k;
    }
    // Five spacings either side of the centre hold five marks each, on the centre's row.
    const ui::Surface& s2 = plot(2)->surface();
    const QImage plot2 = plot(2)->Image();
    const int py = qRound(s2.toPixelY(cy));
    const auto marksBetween = [&](double from, double to) {
        int marks = 0;
        bool inMark = false;
        for (int x = qRound(s2.toPixelX(from)); x <= qRound(s2.toPixelX(to)); ++x) {
            const bool white = plot2.pixel(x, py) == 0xFFFFFFFFu;
            if (white && !inMark) ++marks;
            inMark = white;
        }
        return marks;
    };
    const double half = app::ElasticInterval / 2;
    EXPECT_EQ(marksBetween(cx + half, cx + 5 * app::ElasticInterval + half), 5);
    EXPECT_EQ(marksBetween(cx - 5 * app::ElasticInterval - half, cx - half), 5);
    // The section moved in the preview: the overlay moves along and stays under the ruler.
    const double left = app::frmPreview->sectionFrame->Left(), centrePixel = s2.toPixelX(cx);
    placeSection(left > 600 ? left - 600 : left + 600, app::frmPreview->sectionFrame->Width());
    app::ClearCurvePointers();
    EXPECT_NEAR(plot(2)->surface().toPixelX(app::ElasticCentreX), centrePixel, 1);

    // A right-button release takes scale and overlay away.
    QTest::mousePress(area, Qt::RightButton, Qt::NoModifier, QPoint(centre + 40, 5));
    QTest::mouseRelease(area, Qt::RightButton, Qt::NoModifier, QPoint(centre + 40, 5));
    EXPECT_FALSE(app::ElasticShown);
}

// Bad spacings end cleanly: a press on the centre line, a drag across it, a stepping of 0 or text.
TEST_F(ScalesTest, BadSpacingsAndSteppingsEndCleanly) {
    app::frmMain->showToolsButton->click();  // "Show tools"
    EXPECT_TRUE(app::frm1m->isVisible() && app::frmScale->isVisible() && app::frmElastic->isVisible());
    app::ElasticForm& e = app::frmElastic.get();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    const int centre = qRound(e.centreLine->X1());
    QWidget* area = e.client();
    drag(area, QPoint(centre + 45, 5), QPoint(centre - 45, 5));  // across the centre: the spacing's size
    EXPECT_TRUE(app::ElasticInterval > 0 && !e.Caption().contains('-')) << e.Caption().toStdString();
    drag(area, QPoint(centre, 5), QPoint(centre + 50, 5));       // from the centre line
    app::ClearCurvePointers();
    for (const char* stepping : {"", "abc", "-200", "1e308", "0"}) {
        app::frmMain->steppingBox->setText(QString::fromLatin1(stepping));
        app::DrawScale();
        app::Draw1mScale();
        app::RenderSection();
    }
    EXPECT_EQ(app::frmScale->Caption(), "0 mm");
    EXPECT_TRUE(app::frmMain->steppingBox->ToolTipText().startsWith("The stepping must be a positive number"));
    app::frmMain->steppingBox->setText("200");
    EXPECT_EQ(app::frmMain->steppingBox->ToolTipText(), QString());
}
