#include <gtest/gtest.h>

#include "SampleFiles.h"
#include "SynthCore.h"
#include "TestSupport.h"
#include "files/TextFile.h"
#include "files/XrfFile.h"

using core::Variant;
using files::readXrfTable;
using files::XrfContents;
using files::XrfFormatError;
using files::XrfReadError;

// Every form a scanner's table comes in reads as the same table, cell for cell and type for type:
// the scanner's own tab file and its comma copy; tabs with or without the tab that ends each line,
// CR LF or LF, no line end after the last row, a byte-order mark, decimal commas, a padded
// preamble, texts without quotes, a spreadsheet's "Unicode text".
TEST(XrfFileTest, EveryFormOfTheSameTableReadsAlike) {
    QByteArray tabs = samples::scannerTable(4, {}, "\t");
    tabs.replace("\"", "");
    QByteArray trailingTabs = tabs;
    trailingTabs.replace("\r\n", "\t\r\n");
    trailingTabs.chop(2);  // no line end after the last row, but its tab
    QByteArray decimalComma = trailingTabs;
    decimalComma.replace("\t0.2\t", "\t0,2\t");
    QByteArray bomPadded = "\xEF\xBB\xBF" + samples::scannerTable(4);
    bomPadded.replace("\"scan\"\r\n\"peakarea\"\r\n", "scan,,,,,,\r\npeakarea,,,,,,\r\n");
    const QByteArray tiny = samples::scannerTable(4);
    const QByteArray realTabs = files::readFileBytes(testsupport::realData("Results.txt"));
    const QByteArray realCommas = files::readFileBytes(testsupport::realData("Results.csv"));
    const struct {
        const char* what;
        QByteArray reference, form;
    } rows[] = {
        {"the real comma copy", realTabs, realCommas},
        {"tabs", tiny, tabs},
        {"a tab ending each line", tiny, trailingTabs},
        {"line feeds", tiny, QByteArray(tabs).replace("\r\n", "\n")},
        {"decimal commas", tiny, decimalComma},
        {"a byte-order mark and a padded preamble", tiny, bomPadded},
        {"texts without quotes", tiny, QByteArray(tiny).replace("\"", "")},
        {"Unicode text", tiny, samples::unicodeText(tabs)},
    };
    for (const auto& row : rows) {
        const XrfContents want = readXrfTable(row.reference), got = readXrfTable(row.form);
        ASSERT_EQ(got.rowCount, want.rowCount) << row.what;
        ASSERT_EQ(got.columnCount, want.columnCount) << row.what;
        for (int h = 1; h <= want.columnCount; ++h) EXPECT_EQ(got.headers[h], want.headers[h]) << row.what;
        for (long i = 1; i <= want.rowCount; ++i) {
            for (long j = 1; j <= want.columnCount; ++j) {
                const Variant a = want.data.get(j, i), b = got.data.get(j, i);
                ASSERT_TRUE(a.type() == b.type() && a == b) << row.what << ": " << j << "," << i;
            }
        }
    }
    // What the real file holds: the spectrum names first, the validity as read.
    const XrfContents real = readXrfTable(realTabs);
    EXPECT_TRUE(real.headers[55].endsWith("L000000.spe"));
    EXPECT_EQ(real.data.get(4, 1).type(), Variant::Type::Integer);
}

// Faulty tables are refused with their reason, or as a format error (an empty reason). (The
// tables opened through the import button are in the bad-input tables.)
TEST(XrfFileTest, FaultyFilesAreRefusedWithTheirReason) {
    QByteArray shortRow = samples::scannerTable(3), longRow = shortRow, noSpe = shortRow;
    shortRow.replace(",1002\r\n", "\r\n");  // row 2 lacks its last field
    longRow.replace(",1002\r\n", ",1002,7\r\n");
    noSpe.replace(".spe", ".txt");
    QByteArray speInHeader = samples::scannerTable(2);
    speInHeader.replace("\"d\"", "\"xspe\"");  // ends the header early: refused, not misread
    const std::pair<QByteArray, const char*> rows[] = {
        {"\r\n\r\n  \r\n", ""},
        {noSpe, ""},
        {shortRow, "Data row 2 of the XRF file has 9 fields, but its header names 10"},
        {longRow, "Data row 2 of the XRF file has more fields than its header names (10)"},
        {speInHeader, "Data row 1 of the XRF file has 4 fields, but its header names 6"},
    };
    for (const auto& [bytes, reason] : rows) {
        try {
            readXrfTable(bytes);
            ADD_FAILURE() << reason << " was read";
        } catch (const XrfReadError& e) {
            EXPECT_TRUE(*reason && e.reason.contains(QString::fromLatin1(reason))) << reason << ": " << e.reason.toStdString();
        } catch (const XrfFormatError&) {
            EXPECT_FALSE(*reason) << reason;
        }
    }
    // 26000 rows is the most a table holds (26001 is refused through the import button).
    EXPECT_EQ(readXrfTable(synth::makeXrfTable(synth::makeVarvedCore(26000, 4), true, 16)).rowCount, 26000);
}

// The scanner's step needs two numeric positions.
TEST(XrfFileTest, TheScannerStepNeedsTwoNumericPositions) {
    const XrfContents x = readXrfTable(samples::scannerTable(1));
    EXPECT_EQ(files::scannerStepMicrons(x.data, 1), std::nullopt);
    core::VariantTable t(0, 3, 0, 3);
    t(2, 1) = Variant(1.0);
    t(2, 2) = Variant("x");
    EXPECT_EQ(files::scannerStepMicrons(t, 2), std::nullopt);
}
