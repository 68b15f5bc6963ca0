#include <gtest/gtest.h>
#include <QStringList>
#include <random>

#include "core/BoundedArray.h"
#include "files/Chronology.h"
#include "files/FieldSyntax.h"
#include "files/Summary.h"
#include "files/WorkingFile.h"
#include "files/XrfFile.h"

using core::Variant;

namespace {
// A document of n positions as the program holds it after an import: rows of 10 XRF fields.
struct Document {
    int n;
    int c = 10;
    core::Array<QString> headers{0, 500};
    core::VariantTable xrf{0, 100, 0, 26000};
    core::CurveTable profile;
    core::Array<Variant> year;
    core::Array<QString> label, note;

    explicit Document(int positions)
        : n(positions), year(0, n, Variant("---")), label(0, n, QStringLiteral("---")), note(0, n, QStringLiteral("---")) {
        profile.redim(0, 10, 0, positions);
        year(0) = Variant("Year");
        label(0) = QStringLiteral("Lamina");
        note(0) = QStringLiteral("Note");
        headers(0) = QStringLiteral("C:\\scan, 2026  re-evaluated data");
        const char* names[] = {"position (mm)", "sample surface", "validity", "E-gain", "E-offset",
                               "F-slope",       "F-offset",       "kcps",     "Fe"};
        for (int h = 1; h <= 9; ++h) headers(h) = QString::fromLatin1(names[h - 1]);
        for (int i = 1; i <= n; ++i) {
            xrf(1, i) = Variant(QStringLiteral("C:\\scan\\L%1.spe").arg(i));
            xrf(2, i) = Variant(0.01 + 0.2 * (i - 1));
            xrf(4, i) = Variant(core::Integer(1));
            for (int j = 5; j <= 10; ++j) xrf(j, i) = Variant(j * 1000.5 + i);
            profile(0, i) = Variant(core::Integer(100 + i));  // field 3 stays empty
        }
    }
    QByteArray write() const {
        return files::writeWorkingFile({n, c, headers, xrf, profile, year, label, note});
    }
};

QStringList summaryLines(const Document& d) {
    const QByteArray bytes = files::writeSummary(QStringLiteral("C:\\work\\core.csv"), {2026, 12, 6}, d.n, d.year, d.label);
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString());
    return lines;
}
}  // namespace

TEST(SummaryTest, CountsEachLevelBetweenLabelledLaminae) {
    Document d(10);
    for (const auto& [p, level] : {std::pair{1, 1}, {2, 3}, {3, 1}, {4, 1}, {7, 9}, {8, 9}})
        d.year(p) = Variant(core::Integer(level));
    d.label(4) = QStringLiteral("#A");    // at a boundary: it counts nowhere
    d.label(5) = QStringLiteral("#B");    // straight after: a segment of zeros
    d.label(8) = QStringLiteral("#---");  // an emptied label cuts nothing
    const QStringList lines = summaryLines(d);
    const QStringList expected = {
        "\"C:\\work\\core.csv\"",
        "#2026-12-06#",
        "\"Boundaries\",\"Level-1\",\"Level-2\",\"Level-3\",\"Level-4\",\"Level-5\",\"Level-6\",\"Level-7\","
        "\"Level-8\",\"Level-9\"",
        "\"'Section top'\"",
        "\"---\",2,0,1,0,0,0,0,0,0",
        "\"'#A'\"",
        "\"---\",0,0,0,0,0,0,0,0,0",
        "\"'#B'\"",
        "\"---\",0,0,0,0,0,0,0,0,2",
        "\"'Section bottom'\"",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(files::summaryFileName(QStringLiteral("C:\\work\\core.csv")), "C:\\work\\core (Summary).csv");
    EXPECT_EQ(files::summaryFileName(QStringLiteral("a.b")), QString());
}

// A hundred random countings (every level, labels and notes with commas, quotes, accents, other
// scripts and line ends) saved and read back give the same names, fields, markers, labels and
// notes (a double quote kept as a single one); saving what was read gives the same bytes.
TEST(WorkingFileTest, RandomCountingsRoundTripToTheByte) {
    std::mt19937 random(20261207);
    const QStringList pieces = QString::fromUtf8("A1|, |\"|'|\u00e9t\u00e9|\u6e56|\r\n|\n|  |tephra|;|\t|\u00b5m|#|---").split('|');
    auto text = [&] {
        QString t = QStringLiteral("#");
        const int parts = std::uniform_int_distribution<int>(1, 5)(random);
        for (int k = 0; k < parts; ++k)
            t += pieces[std::uniform_int_distribution<int>(0, static_cast<int>(pieces.size()) - 1)(random)];
        return t;
    };
    for (int document = 0; document < 100; ++document) {
        const int n = std::uniform_int_distribution<int>(1, 200)(random);
        Document d(n);
        for (int i = 1; i <= n; ++i) {
            const int roll = std::uniform_int_distribution<int>(0, 9)(random);
            if (roll < 4) d.year(i) = Variant(core::Integer(std::uniform_int_distribution<int>(1, 9)(random)));
            if (roll == 5) d.label(i) = text();
            if (roll >= 7) d.note(i) = text();
        }
        const QByteArray first = d.write();
        const files::XrfContents x = files::readXrfTable(first);
        ASSERT_EQ(x.rowCount, n) << "document " << document;
        ASSERT_TRUE(x.workingFile);
        ASSERT_EQ(x.columnCount, 14);  // the table's 10 and four working columns
        ASSERT_NO_THROW(files::checkWorkingColumns(x)) << "document " << document;
        for (int h = 0; h <= 9; ++h) ASSERT_EQ(x.headers[h], d.headers(h));
        ASSERT_EQ(x.headers[10], "greyscale");
        Document again(n);
        for (long i = 1; i <= n; ++i) {
            for (long j = 1; j <= 10; ++j) again.xrf(j, i) = x.data.get(j, i);
            again.year(i) = x.data.get(12, i);
            again.label(i) = x.data.get(13, i).toString();
            again.note(i) = x.data.get(14, i).toString();
            // What the file keeps: every text as it was, a double quote as a single one.
            auto kept = [](QString s) { return s.replace(QLatin1Char('"'), QLatin1Char('\'')); };
            ASSERT_TRUE(again.year(i) == d.year(i)) << "document " << document << ", position " << i;
            ASSERT_TRUE(x.data.get(3, i).isEmpty());  // an empty field stays empty
            ASSERT_TRUE(x.data.get(11, i) == static_cast<int>(100 + i));
            ASSERT_EQ(again.label(i), kept(d.label(i))) << "document " << document << ", position " << i;
            ASSERT_EQ(again.note(i), kept(d.note(i))) << "document " << document << ", position " << i;
        }
        ASSERT_EQ(again.write(), first) << "document " << document;
    }
}


// A small counting written out in full: boundaries from the top with their running counts, then
// the intervals between labels; by the default rule level 1 counts as a year, level 2 as an
// uncertain one, levels 3 (the half year) and 5 not at all.
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
        "\"level_5\",\"level_6\",\"level_7\",\"level_8\",\"level_9\",\"years_min\",\"years_max\",\"year_levels\","
        "\"uncertain_year_levels\"\r\n"
        "\"boundary\",0,0,1,\"\",1,0,0,0,0,0,0,0,0,1,1,\"1\",\"2\"\r\n"
        "\"boundary\",1,1,2,\"\",1,1,0,0,0,0,0,0,0,1,2,\"1\",\"2\"\r\n"
        "\"boundary\",1.5,1.5,5,\"\",1,1,0,0,1,0,0,0,0,1,2,\"1\",\"2\"\r\n"
        "\"boundary\",2,2,1,\"A1, the tephra\",2,1,0,0,1,0,0,0,0,2,3,\"1\",\"2\"\r\n"
        "\"boundary\",3,3,3,\"\",2,1,1,0,1,0,0,0,0,2,3,\"1\",\"2\"\r\n"
        "\"boundary\",3.5,3.5,1,\"\",3,1,1,0,1,0,0,0,0,3,4,\"1\",\"2\"\r\n"
        "\"interval\",0,0.5,,\"B2\",1,0,0,0,0,0,0,0,0,1,1,\"1\",\"2\"\r\n"
        "\"interval\",0.5,2,,\"A1, the tephra\",1,1,0,0,1,0,0,0,0,1,2,\"1\",\"2\"\r\n"
        "\"interval\",2,3.5,,\"\",1,0,1,0,0,0,0,0,0,1,1,\"1\",\"2\"\r\n";
    EXPECT_EQ(csv.toStdString(), expected.toStdString());

    // Ten years each with its half-year layer are ten years, never more.
    std::vector<files::ChronologyPoint> tenYears;
    for (int y = 0; y < 20; ++y) tenYears.push_back({double(y), y % 2 == 0 ? 1 : files::kHalfYearLevel, {}});
    EXPECT_TRUE(files::writeChronology(tenYears, 0, 20).contains("\"boundary\",19,19,3,\"\",10,0,10,0,0,0,0,0,0,10,10,"));
    // The rules a user may type: year levels; uncertain year levels, each level once, never level 3.
    for (const auto& [text, years, uncertain] : std::vector<std::tuple<QString, QString, QString>>{
             {"1; 2", "1", "2"}, {"1, 4;2 5", "14", "25"}, {"1;", "1", ""}, {"1; 3", "-", ""}, {"1; 1", "-", ""},
             {"1 2", "-", ""}, {"0; 2", "-", ""}, {"a; 2", "-", ""}}) {
        const auto rule = files::parseYearRule(text);
        EXPECT_EQ(rule ? rule->years + ";" + rule->uncertain : "-;", years + ";" + uncertain) << text.toStdString();
    }
}
