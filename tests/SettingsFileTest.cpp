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

TEST(SettingsFile, RowOneSaysHowManyLinesAreRead) {
    QByteArray bytes = "\"a\",\"b\",0,0\r\n\"c\",\"d\",100,2\r\n\"e\",\"f\",9999,9999\r\n\"g\",\"h\",1,2\r\n";
    auto table = emptyTable();
    files::readSettings(bytes, table);
    EXPECT_TRUE(table(3, 2) == 9999);
    EXPECT_TRUE(table(0, 3).isEmpty());  // never read: stays empty (and so counts as set)
}

TEST(SettingsFile, ShortFilesAndBadLastLineNumbersAreErrors) {
    auto table = emptyTable();
    EXPECT_THROW(files::readSettings("\"a\",\"b\",0,0\r\n\"c\",\"d\",100,100\r\n", table),
                 core::EndOfFileError);
    EXPECT_THROW(files::readSettings("1,2,3,4\r\n1,2,3,101\r\n1,2,3,4\r\n", table), core::SubscriptError);
    EXPECT_THROW(files::readSettings("1,2,3,4\r\n1,2,3,\"many\"\r\n1,2,3,4\r\n", table),
                 core::TypeMismatchError);
    EXPECT_THROW(files::readSettings(QByteArray(), table), core::EndOfFileError);
}

TEST(SettingsFile, AShortLineShiftsEveryLaterField) {
    QByteArray bytes =
        "\"r0\",\"x\",0,0\r\n\"r1\",\"x\",4,4\r\n\"r2\",\"x\",7\r\n\"r3\",\"x\",8,9\r\n\"r4\",\"x\",1,"
        "2\r\n\"r5\"\r\n";
    auto table = emptyTable();
    files::readSettings(bytes, table);
    EXPECT_EQ(table(3, 2).toString(), "r3");  // the fourth field of row 2 comes from the next line
    EXPECT_EQ(table(0, 3).toString(), "x");
    EXPECT_TRUE(table(2, 3) == 9);
    EXPECT_EQ(table(3, 3).toString(), "r4");
    EXPECT_EQ(table(3, 4).toString(), "r5");
}
