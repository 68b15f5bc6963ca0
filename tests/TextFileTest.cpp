#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "core/Errors.h"
#include "files/SettingsFile.h"
#include "files/TextFile.h"

// A failed save leaves the old file and no partial one. A file is read whole up to the limit and
// refused past it; a file that reports no size (as the system's own files do) is read to its end.
TEST(TextFile, AFailedSaveLeavesTheOldFileAndAReadStopsAtTheLimit) {
    QTemporaryDir dir;
    files::saveFileBytes(dir.filePath("work.csv"), "old\r\n");
    EXPECT_THROW(files::saveFileBytes(dir.filePath("no/such/folder/x.csv"), "x"), core::FileError);
    // Saving onto a folder fails and the folder is untouched.
    QDir(dir.path()).mkdir("taken");
    EXPECT_THROW(files::saveFileBytes(dir.filePath("taken"), "x"), core::FileError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"work.csv"});
    const QString path = dir.filePath("table.txt");
    files::saveFileBytes(path, QByteArray(3 * 1024 * 1024 + 5, 'x'));
    EXPECT_EQ(files::readFileBytes(path, 3 * 1024 * 1024 + 5).size(), 3 * 1024 * 1024 + 5);
    EXPECT_THROW(files::readFileBytes(path, 3 * 1024 * 1024 + 4), core::FileError);
    EXPECT_TRUE(files::readFileBytes("/proc/self/status", 1 << 20).endsWith('\n'));
}

// The shipped file reads with its labels, defaults and colours, and is written back byte for
// byte; so is a file with a quoted row count and an empty value.
TEST(SettingsFile, TheShippedFileAndAQuotedRowCountRoundTrip) {
    const QByteArray shipped =
        files::readFileBytes(testsupport::sourceFile("References/Stratalyser_References.csv"));
    core::Array2<core::Variant> table(0, 3, 0, 100);
    files::readSettings(shipped, table);
    // Positions unset (9999): computed by their default rules.
    EXPECT_TRUE(table(3, 1) == 100 && table(2, 1) == 100 && table(3, 5) == 9999 && table(0, 5).isString());
    EXPECT_TRUE(table(3, 33) == 33023 && table(2, 34) == 0xCFCFCF && table(1, 100).isString());
    EXPECT_EQ(files::writeSettings(table), shipped);

    QByteArray quoted = shipped;
    quoted.replace("\"count\",100,100", "\"count\",\"100\",\" 100 \"");
    quoted.replace("\"frmMain\",\"Top\",9999,9999", "\"frmMain\",\"Top\",9999,");
    table = core::Array2<core::Variant>(0, 3, 0, 100);
    files::readSettings(quoted, table);
    EXPECT_TRUE(table(3, 33) == 33023 && table(3, 5).isEmpty());  // read to the end
    EXPECT_EQ(files::writeSettings(table), quoted);
}
