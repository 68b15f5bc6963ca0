#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "SampleFiles.h"
#include "SynthCore.h"
#include "TestSupport.h"
#include "files/PhotoPlacement.h"
#include "files/TextFile.h"
#include "files/XrfFile.h"
#include "files/XrfPlacement.h"

using core::Variant;
using files::readXrfTable;
using files::XrfContents;
using namespace std::literals;

// 200000 rows is the most a table holds (200001 is refused through the import button).
TEST(XrfFileTest, TwoHundredThousandRowsRead) {
    EXPECT_EQ(readXrfTable(synth::makeXrfTable(synth::makeVarvedCore(files::kMaxXrfRows, 4), true, 16)).rowCount,
              files::kMaxXrfRows);
}

namespace {
// What a reading gives, as text: its shape, headers and every cell, or the reason it refused.
QString outcome(const std::function<XrfContents()>& read) {
    try {
        const XrfContents x = read();
        QString out = QStringLiteral("%1x%2 w%3 t%4|")
                          .arg(x.rowCount)
                          .arg(x.columnCount)
                          .arg(x.workingFile)
                          .arg(x.tabSeparated);
        for (const QString& h : x.headers) out += h + '|';
        for (int r = 1; r <= x.rowCount; ++r)
            for (int c = 1; c <= x.columnCount; ++c)
                out += QString::number(int(x.data(c, r).type())) + x.data(c, r).toString() + ',';
        return out;
    } catch (const core::RuntimeError& e) {
        return QStringLiteral("refused: ") + e.what();
    }
}
}  // namespace

// The import reads the file a block at a time; whatever the blocks, it reads what the whole bytes
// read: the real table, both forms, a working file, a table cut inside a row, a huge first line.
TEST(XrfFileTest, TheFileReadInBlocksReadsAsItsBytes) {
    const synth::VarvedCore core = synth::makeVarvedCore(400, 4);
    const QList<QByteArray> tables = {
        files::readFileBytes(testsupport::testData("YAN8A1_200um/Results.txt")),
        synth::makeXrfTable(core, true, 16),
        synth::makeXrfTable(core, false, 16),
        samples::scannerTable(300).chopped(700),
        QByteArray(5000, 'x') + "\r\n" + samples::scannerTable(20),
        samples::unicodeText(samples::scannerTable(20)),
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.txt"));
    for (const QByteArray& bytes : tables) {
        files::saveFileBytes(path, bytes);
        const QString expected = outcome([&] { return readXrfTable(bytes); });
        for (const qsizetype block : {64, 1000, 1 << 20})
            EXPECT_EQ(outcome([&] { return files::readXrfFile(path, block); }), expected)
                << block << bytes.left(40).data();
    }
    EXPECT_THROW(files::readXrfFile(dir.filePath(QStringLiteral("missing.txt"))), core::FileError);
}

// A line starting with "filename" inside a quoted text is not the header: the working file saved
// from a table whose first field held one (found by fuzzing) reopens in its comma form.
TEST(XrfFileTest, AFilenameLineInsideAQuotedTextIsNoHeader) {
    EXPECT_EQ(files::detectXrfLayout("\"x\r\nfilename\ty\"\r\n\"filename\",\"a\"\r\n").separator, ',');
    EXPECT_EQ(files::detectXrfLayout("\"x\"\"\r\"\r\n \"filename\"\ta\t\r\n").separator, '\t');
}

// A working file saved from a table placed onto the radiograph's columns may begin with a
// measurement whose name does not end in "spe" (found by fuzzing): it reopens with its columns.
TEST(XrfFileTest, AWorkingFileReopensWhateverItsFirstNameIs) {
    const XrfContents x = readXrfTable(
        "\"scan\"\r\n\"varvecounting\"\r\n\"filename\",\"position (mm)\",\"greyscale\",\"year\",\"marker\",\"note\"\r\n"
        "\"L2\",0.2,68,\"---\",\"---\",\"---\"\r\n\"L1.spe\",0.4,70,1,\"---\",\"---\"\r\n");
    EXPECT_TRUE(x.workingFile);
    EXPECT_EQ(x.columnCount, 6);
    EXPECT_EQ(x.rowCount, 2);
    EXPECT_EQ(x.data(1, 1).toString(), QStringLiteral("L2"));
}

// The scanner's step needs two numeric positions, whatever the first one is and however few rows
// there are, and a step that is any length at all (a position of 8e21 mm, found by fuzzing, once
// made one no whole number can hold).
TEST(XrfFileTest, TheScannerStepNeedsTwoNumericPositions) {
    const XrfContents x = readXrfTable(samples::scannerTable(1));
    EXPECT_EQ(files::scannerStepMicrons(x.data, 1), std::nullopt);
    const std::tuple<int, double, double, std::optional<long>> tables[] = {
        {3, 12.5, 0.5, 500}, {4, 0.01, 0.2, 200}, {5, 100.02, 0.06, 60}, {2, 1.0, 8.2e21, std::nullopt}};
    for (const auto& [rows, first, step, microns] : tables) {
        core::VariantTable t(0, 3, 0, rows);
        for (int p = 1; p <= rows; ++p) t(2, p) = Variant(first + step * (p - 1));
        EXPECT_EQ(files::scannerStepMicrons(t, rows), microns) << rows << " rows from " << first;
        t(2, 2) = Variant("x");
        EXPECT_EQ(files::scannerStepMicrons(t, 2), std::nullopt) << rows;
    }
}

// The scanner's run record as the real one is written, and records that cannot place anything:
// each keeps what it can and says in one line what it ignored.
TEST(ScanRecordTest, TheRealRecordAndDamagedOnes) {
    const files::ScanRecord real = files::parseScanRecord(files::readFileBytes(testsupport::realData("document.txt")));
    EXPECT_TRUE(real.hasPositions() && real.ignored.isEmpty() && real.xrfOn == true && real.positionCount() == 2251 &&
                real.sectionName == "YAN 8A-1 200 um");
    // The record, the first line of what was ignored (empty: nothing), its count of positions (0: none).
    const std::tuple<std::string_view, const char*, long> rows[] = {
        {"Step size\t0.5\tmm\r\nStart coordinate\t10\tStop coordinate\t20,0\r\nXRF\tOFF"sv, "", 21},
        {"Step size\t200\tmicrons\nStart coordinate\t10,4\tStop coordinate\t20"sv, "", 49},
        {"Step size\t0\tmicrons\nStart coordinate\t0\tStop coordinate\t20"sv, "the step size is not above zero", 0},
        {"Step size\t200\nStart coordinate\t50\tStop coordinate\t10"sv, "the start coordinate is not before", 0},
        {"Step size\tabc\nStart coordinate\t0\tStop coordinate\t10"sv, "\"Step size\" is not a number (abc)", 0},
        {"Voltage\t60\tkV\nCurrent\t50\tmA"sv, "no start, stop and step size in it", 0},
        {"Step size\t200\0\x01\x02"sv, "not a text file", 0},
        {"Optical Start\t12\tOptical End\t3"sv, "the optical start is not before the optical end", 0},
    };
    for (const auto& [text, ignored, positions] : rows) {
        const files::ScanRecord r = files::parseScanRecord(QByteArray(text.data(), qsizetype(text.size())));
        EXPECT_EQ(r.positionCount(), positions) << text;
        EXPECT_TRUE(r.ignored.isEmpty() ? *ignored == 0 : r.ignored[0].startsWith(ignored)) << text;
    }
}

// Measurements every 0.5 mm from 1 mm onto columns every 0.2 mm from 0.4 mm: each column takes the
// nearest one, columns before the measured stretch are gaps, and a record of another section is
// named and passed over. Without a record the columns cover the measured stretch; without numeric
// positions or a record nothing can be placed.
TEST(XrfPlacementTest, NearestMeasurementsGapsAndRecordsOfAnotherSection) {
    core::VariantTable data(0, 10, 0, 100);
    data(1, 1) = Variant("L1.spe");
    for (int i = 1; i <= 5; ++i) {
        data(2, i) = Variant(1.0 + 0.5 * (i - 1));
        data(9, i) = Variant(10.0 * i);
    }
    const auto radiographRecord = [](const char* path, double stopMm) {  // from 0.4 mm every 0.2 mm, XRF off
        files::ScanRecord r;
        std::tie(r.path, r.startMm, r.stopMm, r.stepMm, r.xrfOn) = std::tuple(path, 0.4, stopMm, 0.2, false);
        return r;
    };
    const auto plan = files::planXrfPlacement(
        {radiographRecord("other_document.txt", 40), radiographRecord("rad_document.txt", 3.2)}, {}, 15, data, 5);
    ASSERT_TRUE(plan && plan->fromRunRecords);
    EXPECT_EQ(plan->notes, QStringList{"other_document.txt: 199 positions, not the radiograph's 15 columns (another "
                                       "section?), ignored"});
    const core::VariantTable placed = files::placeXrfOnColumns(data, 9, *plan, 15);
    const double expected[] = {-9999, -9999, 10, 10, 10, 20, 20, 30, 30, 30, 40, 40, 50, 50, 50};
    for (int c = 1; c <= 15; ++c) {
        EXPECT_EQ(placed(9, c).toDouble(), expected[c - 1]) << c;
        EXPECT_DOUBLE_EQ(placed(2, c).toDouble(), 0.4 + 0.2 * (c - 1)) << c;
    }
    EXPECT_EQ(placed(1, 1).toString(), "L1.spe");
    const auto covering = files::planXrfPlacement({}, {}, 10, data, 5);  // each column at its middle
    EXPECT_TRUE(covering && !covering->fromRunRecords && covering->positions.step.value == 0.25 &&
                covering->positions.first.value == 0.875);
    EXPECT_FALSE(files::planXrfPlacement({}, {}, 5, data, 5));  // no coarser scan: a wrong pair of files
    // A record whose first "Step size" line is a stray one: the line whose count fits is taken.
    const auto fitted = files::planXrfPlacement(
        {files::parseScanRecord("Step size\t0.188\nStart coordinate\t0.4\tStop coordinate\t3.2\nXRF\tOFF\nStep size\t200\n",
                                "rad_document.txt")},
        {}, 15, data, 5);
    ASSERT_TRUE(fitted && fitted->fromRunRecords && fitted->positions.step.value == 0.2);
    EXPECT_EQ(fitted->notes, QStringList{"rad_document.txt: 2 \"Step size\" lines; line 4 (200 micron) fits the 15 "
                                         "positions, used"});
    data(2, 3) = Variant("x");  // positions that are no numbers: the table's own run record places row 1 at its start
    EXPECT_FALSE(files::planXrfPlacement({}, {}, 15, data, 5));
    const auto byRecord = files::planXrfPlacement(
        {}, {files::parseScanRecord("Step size\t500\nStart coordinate\t10\tStop coordinate\t12\nXRF\tON\n")}, 15, data, 5);
    EXPECT_TRUE(byRecord && byRecord->rowPositions.front().value == 10 && byRecord->rowStep.value == 0.5);
}

// The photo's stretch from its record, over the radiograph's columns from the radiograph's record
// (0 to 450 mm every 0.2 mm) or from the table's positions; a stretch of another section is named.
TEST(PhotoPlacementTest, ThePhotosStretchOverTheColumnsAndStretchesOfAnotherSection) {
    const files::ScanRecord radiograph =
        files::parseScanRecord(files::readFileBytes(testsupport::realData("document.txt")));
    const auto photo = [](double start, double end, const char* section) {
        files::ScanRecord r;
        std::tie(r.path, r.opticalStartMm, r.opticalEndMm, r.sectionName) =
            std::tuple("optical_document.txt", start, end, section);
        return r;
    };
    const auto plan = files::planPhotoPlacement({photo(-48, 470, "")}, {}, {radiograph}, 2251, std::nullopt);
    ASSERT_TRUE(plan.placement);
    // Position 1 spans -0.1 .. 0.1 mm at the right edge: the photo's 470 mm end lies 99.5 columns
    // left of the radiograph's 450.1 mm left edge.
    EXPECT_DOUBLE_EQ(plan.placement->leftEdge().value, -99.5);
    EXPECT_DOUBLE_EQ(plan.placement->widthInColumns(), 2590);
    const struct {
        files::ScanRecord record;
        QString note;
    } refused[] = {
        {photo(-48, 470, "YAN 8A-2"), "section \"YAN 8A-2\", not the radiograph's \"YAN 8A-1 200 um\""},
        {photo(500, 900, ""), "the photo covers 500 to 900 mm, the radiograph -0.1 to 450.1 mm (another section?)"},
        {photo(0, 20000, ""), "the photo's 20000 mm are far longer than the radiograph's 450.2 mm (another section?)"}};
    for (const auto& row : refused) {
        const auto p = files::planPhotoPlacement({row.record}, {}, {radiograph}, 2251, std::nullopt);
        EXPECT_FALSE(p.placement);
        EXPECT_EQ(p.notes, QStringList{"optical_document.txt: " + row.note + ", ignored"});
    }
    // The XRF table's record and positions (one row a column, every 0.2 mm from 10 mm) serve when the
    // photo's folder and the radiograph's have none.
    core::VariantTable table(0, 3, 0, 51);
    for (int row = 1; row <= 51; ++row) table(2, row) = Variant(10 + 0.2 * (row - 1));
    const auto byTable = files::planPhotoPlacement({}, {photo(10, 20, "")}, {}, 51, files::tableColumnPositions(table, 51));
    ASSERT_TRUE(byTable.placement);
    EXPECT_DOUBLE_EQ(byTable.placement->positions.step.value, 0.2);
    EXPECT_DOUBLE_EQ(byTable.placement->leftEdge().value, 0.5);
    EXPECT_FALSE(files::planPhotoPlacement({photo(10, 20, "")}, {}, {}, 100, std::nullopt).placement);
}
