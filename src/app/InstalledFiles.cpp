#include "app/InstalledFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

const QString kDataFolderFromProgram = QStringLiteral(STRATALYSER_DATA_FROM_BIN);

namespace {

// `relative` in the folder `fromBin` names relative to the program's folder, when it is there.
QString besideProgram(const QString& programFolder, const QString& fromBin, const QString& relative) {
    const QString path = QDir(programFolder).filePath(fromBin + QLatin1Char('/') + relative);
    return QFileInfo(path).isFile() ? QDir::cleanPath(path) : QString();
}

}  // namespace

QString shippedSettingsFile(const QString& programFolder) {
    const QString relative = kSettingsFolder + QLatin1Char('/') + kSettingsFileName;
    const QString installed = besideProgram(programFolder, kDataFolderFromProgram, relative);
    if (!installed.isEmpty()) return installed;
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("stratalyser/") + relative);
}

QString manualFile() {
    const QString name = QStringLiteral("manual.md");
    const QString installed =
        besideProgram(QCoreApplication::applicationDirPath(), QStringLiteral(STRATALYSER_DOC_FROM_BIN), name);
    if (!installed.isEmpty()) return installed;
    const QString source = QStringLiteral(STRATALYSER_SOURCE_DIR "/docs/") + name;
    return QFileInfo(source).isFile() ? source : QString();
}

}  // namespace app
