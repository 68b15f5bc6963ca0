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
