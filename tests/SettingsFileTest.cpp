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

// Hand-edited and shifted files, each made from the shipped file: the row named is where the file
// stops making sense, and the table is left exactly as it was.
TEST(SettingsFile, ADamagedFileNamesItsRowAndLeavesTheTableAlone) {
    const QByteArray shipped =
        files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv"));
    struct Case {
        const char* what;
        QByteArray from, to;
        int row;
    };
    const Case cases[] = {
        {"colour out of range", "\"Level-2\",\"colour\",65535,65535", "\"Level-2\",\"colour\",65535,-1", 32},
        {"default colour a fraction", "\"Level-3\",\"colour\",33023,", "\"Level-3\",\"colour\",330.5,", 33},
        {"a field short", "\"frmMain\",\"Top\",9999,9999", "\"frmMain\",\"Top\",9999", 5},
        {"position as a date", "\"frmCurve1\",\"Top\",9999,9999", "\"frmCurve1\",\"Top\",9999,#2024-01-01#",
         12},
        {"width negative", "\"frmPreview\",\"Width\",9999,9999", "\"frmPreview\",\"Width\",9999,-400", 9},
        {"position far off any screen", "\"frmActiveYears\",\"Left\",9999,9999",
         "\"frmActiveYears\",\"Left\",9999,1e300", 67},
        {"negative row count", "\"count\",100,100", "\"count\",100,-5", 1},
        {"row count as a word", "\"count\",100,100", "\"count\",100,\"many\"", 1},
        {"row count in column 2", "\"count\",100,100", "\"count\",0,100", 1},
    };
    for (const Case& c : cases) {
        QByteArray bytes = shipped;
        bytes.replace(c.from, c.to);
        ASSERT_NE(bytes, shipped) << c.what;
        core::Array2<Variant> table(0, 3, 0, 100, Variant("as before"));
        try {
            files::readSettings(bytes, table);
            ADD_FAILURE() << c.what << ": read as a good file";
        } catch (const files::DamagedSettingsError& e) {
            EXPECT_EQ(e.row, c.row) << c.what << ": " << e.reason.toStdString();
            EXPECT_TRUE(e.reason.startsWith(QStringLiteral("row %1").arg(c.row))) << e.reason.toStdString();
        }
        EXPECT_TRUE(table(3, 1) == "as before" && table(0, 0) == "as before") << c.what;
    }
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
