#include <gtest/gtest.h>

#include "SampleFiles.h"
#include "SynthCore.h"
#include "files/XrfFile.h"

using core::Variant;
using files::readXrfTable;
using files::XrfContents;

// 26000 rows is the most a table holds (26001 is refused through the import button).
TEST(XrfFileTest, TwentySixThousandRowsRead) {
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
