#include <gtest/gtest.h>

#include "files/Chronology.h"

using core::Variant;

// A small counting written out in full: boundaries from the top with their running counts, then
// the intervals between labels; levels 2 and 3 count as possible years, 5 not at all.
TEST(ChronologyTest, BoundariesWithRunningCountsThenLabelledIntervals) {
    core::Array<Variant> marks(0, 8, Variant("---"));
    core::Array<QString> labels(0, 8, QStringLiteral("---"));
    marks(1) = Variant(1);
    marks(2) = Variant(3);
    marks(4) = Variant(1);
    marks(5) = Variant(5);
    marks(6) = Variant(2);
    marks(8) = Variant(1);
    labels(4) = QStringLiteral("A1, the tephra");  // a label on a boundary
    labels(7) = QStringLiteral("B2");               // and one without
    // The table's positions fall with the data position: the core's top is position 8.
    const auto points = files::chronologyPoints(8, marks, labels, [](int p) { return (8 - p) * 0.5; });
    ASSERT_EQ(points.size(), 7u);
    EXPECT_DOUBLE_EQ(points.front().mm, 0);
    EXPECT_EQ(points.front().level, 1);
    EXPECT_EQ(points[1].label, "B2");
    EXPECT_EQ(points[1].level, 0);
    const QByteArray csv = files::writeChronology(points, 0, 3.5);
    const QByteArray expected =
        "\"kind\",\"top_mm\",\"bottom_mm\",\"level\",\"label\",\"level_1\",\"level_2\",\"level_3\",\"level_4\","
        "\"level_5\",\"level_6\",\"level_7\",\"level_8\",\"level_9\",\"years_min\",\"years_max\"\r\n"
        "\"boundary\",0,0,1,\"\",1,0,0,0,0,0,0,0,0,1,1\r\n"
        "\"boundary\",1,1,2,\"\",1,1,0,0,0,0,0,0,0,1,2\r\n"
        "\"boundary\",1.5,1.5,5,\"\",1,1,0,0,1,0,0,0,0,1,2\r\n"
        "\"boundary\",2,2,1,\"A1, the tephra\",2,1,0,0,1,0,0,0,0,2,3\r\n"
        "\"boundary\",3,3,3,\"\",2,1,1,0,1,0,0,0,0,2,4\r\n"
        "\"boundary\",3.5,3.5,1,\"\",3,1,1,0,1,0,0,0,0,3,5\r\n"
        "\"interval\",0,0.5,,\"B2\",1,0,0,0,0,0,0,0,0,1,1\r\n"
        "\"interval\",0.5,2,,\"A1, the tephra\",1,1,0,0,1,0,0,0,0,1,2\r\n"
        "\"interval\",2,3.5,,\"\",1,0,1,0,0,0,0,0,0,1,2\r\n";
    EXPECT_EQ(csv.toStdString(), expected.toStdString());
}
