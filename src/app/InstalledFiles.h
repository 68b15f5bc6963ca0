#pragma once

#include <QString>

// The files an installed program reads from its data and documentation folders (share/stratalyser,
// share/doc/stratalyser beside bin/), found from where the program runs.
namespace app {

// The settings file and its folder: beside a build's program, and among an installed program's data.
inline const QString kSettingsFolder = QStringLiteral("References");
inline const QString kSettingsFileName = QStringLiteral("Stratalyser_References.csv");

// The data folder (the shipped settings' folder) as a path from the program's folder.
extern const QString kDataFolderFromProgram;

// The shipped default settings of the program in `programFolder`, or an empty text when it is not
// installed.
QString shippedSettingsFile(const QString& programFolder);

// The manual: the installed copy, or the source tree's for a program run from its build folder; an
// empty text when there is neither.
QString manualFile();

}  // namespace app
