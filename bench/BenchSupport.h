#pragma once

#include <QString>

// Shared set-up of the benchmarks: files made once per run in a temporary folder.
namespace bench {

QString tempPath(const QString& name);
// A fresh program ready to import (settings from a copy of the shipped file, a wide screen).
void freshProgram();
// Imports the radiograph file through the program's command, its dialog answered.
void importFile(const QString& path);
// The synthetic radiograph of 30000 x 1000 pixels as a JPEG file (grey or colour), made on first use.
QString bigRadiographJpeg(bool colour);

// The section width (columns) of the brightness-change benchmark.
extern double adjustColumns;

// Peak memory of one radiograph import, in a child process: (peak - before) / decoded bytes.
double importPeakRatio(const QString& jpeg);
// The child's side: imports the file and prints the ratio.
int runImportPeakChild(const QString& jpeg);

}  // namespace bench
