#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Errors.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"

using core::Variant;

namespace {
core::Array2<Variant> emptyTable() {
    return core::Array2<Variant>(0, 3, 0, 100);
}
}  // namespace

TEST(SettingsFile, TheShippedFileHasLabelsDefaultsAndColours) {
    const QByteArray bytes =
        files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv"));
    auto table = emptyTable();
    files::readSettings(bytes, table);
    EXPECT_TRUE(table(3, 1) == 100);
    EXPECT_TRUE(table(2, 1) == 100);
    EXPECT_TRUE(table(3, 5) == 9999);  // positions unset: computed by their default rules
    EXPECT_TRUE(table(3, 33) == 33023);
    EXPECT_TRUE(table(2, 34) == 0xCFCFCF);
    EXPECT_TRUE(table(0, 5).isString());
    EXPECT_TRUE(table(1, 100).isString());
    // Written back unchanged, byte for byte.
    EXPECT_EQ(files::writeSettings(table), bytes);
}

TEST(SettingsFile, AQuotedRowCountAndEmptyValuesAreAccepted) {
    QByteArray bytes = files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv"));
    bytes.replace("\"count\",100,100", "\"count\",\"100\",\" 100 \"");
    bytes.replace("\"frmMain\",\"Top\",9999,9999", "\"frmMain\",\"Top\",9999,");
    auto table = emptyTable();
    files::readSettings(bytes, table);
    EXPECT_TRUE(table(3, 33) == 33023);  // read to the end
    EXPECT_TRUE(table(3, 5).isEmpty());
    EXPECT_EQ(files::writeSettings(table), bytes);  // and written back as it was
}
