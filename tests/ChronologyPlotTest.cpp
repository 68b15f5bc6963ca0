// The chronology plot's series: a varve's best age and error, the points kept to draw a long series,
// and figures of no varve or one painted as bare axes.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "chronology/ChronologyPlot.h"

TEST(ChronologyPlotTest, AnUncertainYearMovesTheAgeHalfAYearEachWay) {
    files::Varve v;
    v.year = 2013;
    v.yearsMin = 1;
    v.yearsMax = 3;  // two uncertain boundaries down to here
    v.uncertainBoundaries = 1;
    v.compositeTopMm = 12.5;
    v.calendarYear = true;
    const chronology::ChronologyFigure calendar = chronology::chronologyFigure({v});
    EXPECT_TRUE(calendar.calendar && calendar.thickness[0].uncertain && calendar.ageDepth[0].age == 2012 &&
                calendar.ageDepth[0].error == 1 && calendar.ageDepth[0].depthMm == 12.5);
    v.calendarYear = false;
    v.year = 1;
    EXPECT_EQ(chronology::chronologyFigure({v}).ageDepth[0].age, 2);  // counted from the top: the varves down
}

TEST(ChronologyPlotTest, ALongSeriesKeepsEachBucketsEndsAndExtremes) {
    // Twelve points over two buckets: in each its first, lowest, highest and last, in order; the same
    // with the x falling (calendar years down the core); few points all.
    const std::vector<double> y{5, 1, 9, 4, 4, 3, 2, 8, 0, 7, 6, 6};
    const std::vector<std::size_t> kept{0, 1, 2, 5, 6, 7, 8, 11};
    std::vector<double> rising, falling;
    for (int i = 0; i < 12; ++i) rising.push_back(i), falling.push_back(11 - i);
    EXPECT_EQ(chronology::keptForDrawing(rising, y, 0, 12, 2), kept);
    EXPECT_EQ(chronology::keptForDrawing(falling, y, 0, 12, 2), kept);
    EXPECT_EQ(chronology::keptForDrawing(rising, y, 0, 12, 100).size(), 12u);
    EXPECT_EQ(chronology::keptForDrawing(rising, y, 3, 3, 2).size(), 12u);  // no span: nothing to bucket
}

TEST(ChronologyPlotTest, NoVarveOrOneIsDrawnAsBareAxes) {
    for (const std::size_t n : {0u, 1u}) {
        QImage image(500, 350, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(0.5, 0.5);
        chronology::paintChronologyFigure(painter, chronology::chronologyFigure(std::vector<files::Varve>(n)));
        painter.end();
        EXPECT_NE(image.pixel(45, 100), qRgb(255, 255, 255)) << n;  // the upper panel's left edge
    }
}
