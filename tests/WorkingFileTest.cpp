#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <random>

#include "core/BoundedArray.h"
#include "files/Chronology.h"
#include "files/ChronologyArchive.h"
#include "files/ChronologyJoin.h"
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


// A small counting written out in full: a row per varve between the level-1 boundaries, from the
// top; by the default rule level 2 is an uncertain year (0.5 +/- 0.5 years), level 3 divides the
// second varve into its sub-layers, level 5 is none. Labels and notes go to the varve they lie in (a
// label on a year boundary to the varve below it); the second count has one more year above column 4.
TEST(ChronologyTest, OneRowPerVarveWithYearsDepthsAndThickness) {
    core::Array<Variant> marks(0, 8, Variant("---"));
    core::Array<QString> labels(0, 8, QStringLiteral("---")), notes(0, 8, QStringLiteral("---"));
    for (const auto& [p, level] : std::vector<std::pair<int, int>>{{1, 1}, {2, 3}, {4, 1}, {5, 5}, {6, 2}, {8, 1}})
        marks(p) = Variant(level);
    labels(4) = QStringLiteral("#A1, the tephra");
    labels(7) = QStringLiteral("#B2  | tie");
    notes(5) = QStringLiteral("#odd");
    // The table's positions fall with the data position: the core's top is position 8.
    const auto positions = files::chronologyMarks(core::PositionAxis(8), marks, labels, notes,
                                                  [](core::Position p) { return core::Millimetres((8 - p.value) * 0.5); });
    ASSERT_EQ(positions.size(), 7u);
    const auto secondCount = [](core::Column c) { return c.value < 4 ? 1 : 0; };
    const std::vector<files::Varve> varves = files::buildVarves(positions, {2013, "S1", 100, {}, "3", secondCount});
    const QByteArray expected =
        "\"year\",\"age_BP\",\"section\",\"top_column\",\"bottom_column\",\"top_mm\",\"bottom_mm\",\"composite_top_mm\","
        "\"composite_bottom_mm\",\"thickness_mm\",\"uncertain_boundaries\",\"years_min\",\"years_max\","
        "\"counting_error_years\",\"counting_error_percent\",\"count_difference_years\",\"label\",\"marker\",\"note\","
        "\"sublayer_1_mm\",\"sublayer_2_mm\"\r\n"
        "2013,-63,\"S1\",0,4,0,2,100,102,2,1,1,2,0.5,33.33,1,\"B2  | tie\",\"B2 / tie\",\"odd\",,\r\n"
        "2012,-62,\"S1\",4,7,2,3.5,102,103.5,1.5,0,2,3,0.5,20,0,\"A1, the tephra\",\"A1, the tephra\",\"\",1,0.5\r\n";
    EXPECT_EQ(files::writeChronology(varves).toStdString(), expected.toStdString());
    const std::vector<files::Varve> back = files::readChronology(expected);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[1].year == 2012 && back[1].label == "A1, the tephra" && back[1].compositeBottomMm == 103.5 &&
                back[1].ageBp() == -62 && back[1].sublayersMm == std::vector<double>({1, 0.5}) &&
                back[0].countDifference == 1 && back[0].marker == "B2 / tie" && back[0].sublayersMm.empty());
    // A chronology of an earlier version (no ages, errors or sub-layers) reads as it was written.
    const QByteArray earlier =
        "\"year\",\"section\",\"top_column\",\"bottom_column\",\"top_mm\",\"bottom_mm\",\"composite_top_mm\","
        "\"composite_bottom_mm\",\"thickness_mm\",\"uncertain_boundaries\",\"years_min\",\"years_max\",\"label\","
        "\"note\"\r\n2013,\"S1\",0,4,0,2,100,102,2,1,1,2,\"B2\",\"odd\"\r\n";
    const std::vector<files::Varve> old = files::readChronology(earlier);
    EXPECT_TRUE(old.size() == 1 && old[0].ageBp() == -63 && old[0].countingErrorYears() == 0.5 && old[0].note == "odd");
    // Without a calendar year the varves are numbered from the top and have no age; ten years with
    // their half-year layers are ten years, each of two sub-layers.
    EXPECT_EQ(files::buildVarves(positions, {std::nullopt, "S1", 0, {}, "3", {}}).back().year, 2);
    EXPECT_FALSE(files::buildVarves(positions, {std::nullopt, "S1", 0, {}, "3", {}}).back().ageBp());
    std::vector<files::ChronologyMark> tenYears;
    for (int y = 0; y <= 20; ++y) tenYears.push_back({core::Column(y), core::Millimetres(y), y % 2 == 0 ? 1 : files::kHalfYearLevel, {}, {}});
    const auto ten = files::buildVarves(tenYears, {});
    EXPECT_TRUE(ten.size() == 10u && ten[9].sublayersMm == std::vector<double>({1, 1}));
    // What is not a chronology is named: a column twice, sub-layers not counted from 1, a row too short,
    // a text never closed.
    for (const QByteArray& bad : {QByteArray(), QByteArray("\"kind\",\"top_mm\"\r\n"),
                                  QByteArray(expected).replace("\"marker\"", "\"year\""),
                                  QByteArray(expected).replace("sublayer_1", "sublayer_3"),
                                  expected + "2011,\"S1\",7\r\n", QByteArray(expected).replace("2012,", "x,"),
                                  expected + "2011,\"S1"}) {
        EXPECT_THROW(files::readChronology(bad), files::ChronologyError) << bad.constData();
    }
    EXPECT_EQ(files::sectionNameFromTable("C:\\Data\\YAN 8A-1 200 um\\XRF data     07/08/2013"), "YAN 8A-1 200 um");
    // The rules a user may type: year levels; uncertain year levels, each level once, never level 3;
    // season levels, none of them a year level.
    for (const auto& [text, years, uncertain] : std::vector<std::tuple<QString, QString, QString>>{
             {"1; 2", "1", "2"}, {"1, 4;2 5", "14", "25"}, {"1;", "1", ""}, {"1; 3", "-", ""}, {"1; 1", "-", ""},
             {"1 2", "-", ""}, {"0; 2", "-", ""}, {"a; 2", "-", ""}}) {
        const auto rule = files::parseYearRule(text);
        EXPECT_EQ(rule ? rule->years + ";" + rule->uncertain : "-;", years + ";" + uncertain) << text.toStdString();
    }
    for (const auto& [text, seasons] : std::vector<std::pair<QString, QString>>{
             {"3", "3"}, {"3, 4", "34"}, {"", ""}, {"1", "-"}, {"2", "-"}, {"3 3", "-"}, {"0", "-"}, {"x", "-"}})
        EXPECT_EQ(files::parseSeasonLevels(text, files::YearRule()).value_or("-"), seasons) << text.toStdString();
}

// The same two varves in the archives' forms, read back column by column: the NOAA-style template's
// header block names the site, the core and the counting rule; the LiPD-style table's metadata
// names each column with its units.
TEST(ChronologyTest, ArchiveFormsGiveDepthAgesThicknessAndError) {
    std::vector<files::ChronologyMark> marks;
    for (const auto& [mm, level] : std::vector<std::pair<double, int>>{{0, 1}, {0.4, 2}, {2, 1}, {3, 3}, {3.5, 1}})
        marks.push_back({core::Column(static_cast<long>(mm * 2)), core::Millimetres(mm), level, {}, {}});
    const auto varves = files::buildVarves(marks, {2013, "S1", 100, {}, "3", {}});
    const files::ArchiveHeader header{"Lake X", "S1", {}, "3", "Stratalyser"};
    const QList<QByteArray> noaa = files::writeNoaaTemplate(varves, header).split('\n');
    QList<QByteArray> data;
    for (const QByteArray& line : noaa)
        if (!line.startsWith('#') && !line.isEmpty()) data << line;
    const QByteArray text = noaa.join('\n');
    EXPECT_TRUE(text.contains("# Site_Information\n#   Site_Name: Lake X\n#   Core_Name: S1\n") &&
                text.contains("each uncertain year boundary (levels 2) counts as 0.5 +/- 0.5 years") &&
                text.contains("## age_BP\tage of the varve before 1950 (1950 = 0 BP), BP\n"));
    EXPECT_EQ(data, QList<QByteArray>({"depth_mm\tage_CE\tage_BP\tthickness_mm\terror", "100\t2013\t-63\t2\t0.5",
                                       "102\t2012\t-62\t1.5\t0.5"}));
    EXPECT_EQ(files::writeLipdTable(varves), "100,2013,-63,2,0.5\n102,2012,-62,1.5,0.5\n");
    const QJsonObject meta = QJsonDocument::fromJson(files::writeLipdMetadata(header, "c.csv")).object();
    const QJsonObject table = meta["chronData"][0]["measurementTable"][0].toObject();
    EXPECT_TRUE(table["filename"] == "c.csv" && meta["geo"]["siteName"] == "Lake X" && table["missingValue"] == "nan");
    QStringList columns;
    for (const QJsonValue& c : table["columns"].toArray())
        columns << QStringLiteral("%1 %2 %3").arg(c["number"].toInt()).arg(c["variableName"].toString(), c["units"].toString());
    EXPECT_EQ(columns, QStringList({"1 depth mm", "2 year CE", "3 age BP", "4 thickness mm", "5 ageUncertainty yr"}));
    EXPECT_EQ(files::lipdMetadataName("/a/c (Chronology LiPD).csv"), "/a/c (Chronology LiPD).jsonld");
}

// One core of 60 year boundaries 2.5 mm apart ("T1" and "F2" labelled at the 15th and 19th, an
// uncertain one in the third varve) cut into overlapping sections, each counted on its own (the
// lower ones from 1, at a composite depth of their own) and written: joined at T1, then a third
// section by its given top, they give the uncut core's chronology year by year, one uncertain year
// from the third varve down. A lower section missing three varves between T1 and F2 is 3 years off.
TEST(ChronologyTest, SectionsJoinedAtASharedLayerOrAGivenDepthMakeTheWholeCore) {
    const auto section = [](double from, double to, std::optional<int> year, bool labelled, int skipFrom = -10,
                            double compositeTop = 0) {
        std::vector<files::ChronologyMark> marks;
        for (int i = 0; i < 60; ++i) {
            const double mm = 2.5 * i;
            if (mm < from || mm > to || (i >= skipFrom && i < skipFrom + 3)) continue;
            const QString label = !labelled ? QString() : i == 14 ? "T1" : i == 18 ? "F2" : QString();
            marks.push_back({core::Column(151000 - i), core::Millimetres(mm - from), 1, label, {}});  // columns past 32,767
            if (i == 2) marks.push_back({core::Column(150998), core::Millimetres(mm - from + 1), 2, {}, {}});
        }
        return files::readChronology(files::writeChronology(files::buildVarves(marks, {year, "S", compositeTop, {}, "3", {}})));
    };
    const std::vector<files::Varve> whole = section(0, 150, 2013, true);
    std::vector<files::LayerCheck> checks;
    const auto ab = files::joinTwo(section(0, 50, 2013, true), section(30, 100, std::nullopt, true, -10, 700),
                                   {files::Tie::Kind::Layer, "T1"}, checks);
    EXPECT_TRUE(checks.size() == 2 && checks[0].tie && checks[0].mmDifference() == 0 && checks[1].mmDifference() == 0);
    const auto abc = files::joinTwo(ab, section(90, 150, std::nullopt, false), {files::Tie::Kind::Depth, {}, 90}, checks);
    ASSERT_EQ(abc.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_TRUE(abc[i].year == whole[i].year && abc[i].yearsMin == whole[i].yearsMin &&
                    abc[i].yearsMax - abc[i].yearsMin == (i >= 2 ? 1 : 0) && abc[i].compositeTopMm == whole[i].compositeTopMm &&
                    abc[i].compositeBottomMm == whole[i].compositeBottomMm)
            << i << ": " << abc[i].year << " at " << abc[i].compositeTopMm;
    }
    // At any given depth the lower begins at its first year boundary below the upper's last, moved
    // up to meet it (a varve straddling that boundary is left out): no stretch twice, none in no varve.
    for (const double depth : {90.8, 89.2, 91.3}) {
        double moved = -1;
        const auto at = files::joinTwo(ab, section(90, 150, std::nullopt, false), {files::Tie::Kind::Depth, {}, depth},
                                       checks, &moved);
        ASSERT_GT(at.size(), ab.size()) << depth;
        EXPECT_EQ(at[ab.size()].compositeTopMm, 100) << depth;
        for (std::size_t i = 1; i < at.size(); ++i) EXPECT_EQ(at[i].compositeTopMm, at[i - 1].compositeBottomMm) << i;
        EXPECT_NEAR(moved, std::fmod(depth - 90 + 2.5, 2.5), 1e-6) << depth;
        if (depth == 89.2) {
            EXPECT_TRUE(files::joinReportText({{"AB", "C", {files::Tie::Kind::Depth, {}, depth}, {}, moved}})
                            .contains("its first year boundary below the last of AB lay 1.7 mm below it"));
        }
    }
    // No overlap: the lower's first varve, 1.5 mm under its top, begins at the upper's last boundary.
    const auto after = files::joinTwo(ab, section(101, 150, std::nullopt, false, -10, 300), {}, checks);
    EXPECT_TRUE(after[ab.size()].topMm == 1.5 && after[ab.size()].compositeTopMm == 100 &&
                after[ab.size()].year == ab.back().year - 1);
    const auto off = files::joinTwo(section(0, 50, 2013, true), section(30, 100, std::nullopt, true, 15),
                                    {files::Tie::Kind::Layer, "T1"}, checks);
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_TRUE(checks[0].tie && checks[0].yearDifference() == 0);
    EXPECT_TRUE(!checks[1].tie && checks[1].layer == "F2" && checks[1].yearDifference() == 3);
    const QString report = files::joinReportText({{"A", "B", {files::Tie::Kind::Layer, "T1"}, checks}});
    EXPECT_TRUE(report.contains("layer \"F2\": 45 mm composite depth in A, 45 mm in B; year 1995 in A, 1998 in B; "
                              "difference 3 years, 0 mm"))
        << report.toStdString();
    EXPECT_EQ(off.size(), 14u + 23u);  // the upper's 14 varves above T1, the lower's 23 from it
    // Given the other way round, nothing of the lower lies below; a section without varves joins nothing.
    EXPECT_THROW(files::joinTwo(ab, section(0, 50, 2013, true), {files::Tie::Kind::Depth, {}, 10}, checks),
                 files::ChronologyError);
    EXPECT_THROW(files::joinTwo(ab, {}, {}, checks), files::ChronologyError);
    // 16 MB of commas are refused at their first line, never held as millions of fields.
    EXPECT_THROW(files::readChronology(QByteArray(16 << 20, ',')), files::ChronologyError);
    std::vector<files::Varve> twice = section(30, 100, std::nullopt, true);  // a tie label in two varves
    twice[6].label = "T1";
    EXPECT_THROW(files::sharedLayers(section(0, 50, 2013, true), twice, "A", "B"), files::ChronologyError);
}
