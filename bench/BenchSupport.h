#pragma once

#include <QString>

// Shared set-up of the benchmarks: files made once per run in a temporary folder.
namespace bench {

QString tempPath(const QString& name);
// A line of /proc/self/status in kB ("VmRSS:", "VmHWM:").
long residentKb(const char* field);
// A fresh program ready to import (settings from a copy of the shipped file, a wide screen).
void freshProgram();
// A fresh program holding a count of `rows` positions, every marker, label and note empty, as after
// the XRF import (no radiograph: the counts alone).
void freshCount(long rows);
// Imports the radiograph file through the program's command, given its path.
void importFile(const QString& path);
// The synthetic radiograph of 30000 x 1000 pixels as a JPEG file (grey or colour), made on first use.
QString bigRadiographJpeg(bool colour);

// The share of distinct colours among the band's pixels of the close-up profile benchmark (the
// scanner's optical.tif: 0.10), with a realistic photo and with every colour distinct.
extern double cropDistinctShare, cropDistinctShareRandom;
// The close-up of the photo brightness benchmark: strip columns, close-up pixels.
extern double photoAdjustStripColumns, photoAdjustCloseUpPixels;

// The section width (columns) of the brightness-change benchmark.
extern double adjustColumns;

// Peak memory of one radiograph import, in a child process: (peak - before) / decoded bytes.
double importPeakRatio(const QString& jpeg);
// The child's side: imports the file and prints the ratio.
int runImportPeakChild(const QString& jpeg);

// The large core (100000 columns): its 16-bit radiograph and its table of 80 elements, made on
// first use.
QString largeRadiographPath();
QString largeXrfTablePath();
// Peak memory of a session on it (both imports, a count, its recovery copy and its save), in a
// child process: (peak - before) / (the radiograph's 16-bit pixels + the table file's bytes).
double sessionPeakRatio();
int runSessionPeakChild(const QString& radiograph, const QString& table);

// Peak memory of one XRF import, in a child process: (peak - before) / file bytes.
double xrfImportPeakRatio(const QString& path);
int runXrfPeakChild(const QString& path);
// The benchmark's XRF table (26000 rows x 80 fields), tab or comma form, made on first use.
QString xrfTablePath(bool tabs);

// Boundary proposals at the default sensitivity against the known boundaries (within 2 columns) of
// three noisy synthetic cores of 30000 columns at a noise level (1..3): the means.
struct ProposalAgreement {
    double recall = 0, precision = 0;
};
ProposalAgreement proposalAgreement(int noiseLevel);

}  // namespace bench
