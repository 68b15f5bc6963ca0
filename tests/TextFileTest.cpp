#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/Errors.h"
#include "files/TextFile.h"

TEST(TextFile, MissingFolderOrOversizedFilesAreClearErrors) {
    QTemporaryDir dir;
    EXPECT_THROW(files::readFileBytes(dir.filePath("missing.csv")), core::FileError);
    EXPECT_THROW(files::readFileBytes(dir.path()), core::FileError);
    EXPECT_THROW(files::readFileBytes(QString()), core::FileError);
    files::saveFileBytes(dir.filePath("big.csv"), QByteArray(1000, 'x'));
    EXPECT_THROW(files::readFileBytes(dir.filePath("big.csv"), 999), core::FileError);
    EXPECT_EQ(files::readFileBytes(dir.filePath("big.csv"), 1000).size(), 1000);
}

TEST(TextFile, AFailedSaveLeavesTheOldFileAndNoPartialFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("work.csv");
    files::saveFileBytes(path, "old\r\n");
    files::saveFileBytes(path, "new\r\n");
    EXPECT_EQ(files::readFileBytes(path), QByteArray("new\r\n"));
    EXPECT_THROW(files::saveFileBytes(dir.filePath("no/such/folder/x.csv"), "x"), core::FileError);
    // Saving onto a folder fails and the folder is untouched.
    QDir(dir.path()).mkdir("taken");
    EXPECT_THROW(files::saveFileBytes(dir.filePath("taken"), "x"), core::FileError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"work.csv"});
}
