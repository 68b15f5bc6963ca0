#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The scanner's record of one run, the document.txt it writes beside the run's files: tab-separated
// lines of a name and its value ("Step size", "200", "microns"), two pairs on one line ("Start
// coordinate", "0.0", "Stop coordinate", "450.0"), or a line of names over a line of values
// ("Section name" in the second line's same cell).
namespace files {

inline constexpr qint64 kMaxScanRecordBytes = 64 * 1024;  // a real record is a few hundred bytes

// One "Step size" line of a record, in mm, and its line number (from 1).
struct StepLine {
    double mm = 0;
    int line = 0;
};

struct ScanRecord {
    QString path;
    std::optional<double> startMm, stopMm;
    std::optional<double> stepMm;  // written in microns; the first "Step size" line's
    std::vector<StepLine> steps;   // every sound "Step size" line, in the record's order
    std::optional<bool> xrfOn;     // "XRF" ON or OFF: the XRF run's record or the radiograph's alone
    std::optional<double> opticalStartMm, opticalEndMm;
    QString sectionName;
    QStringList ignored;  // one line for each value that could not be used, and why

    // Start, stop and step known and sound: the run's positions.
    bool hasPositions() const { return startMm && stopMm && stepMm; }
    // The number of positions from start to stop, both included.
    long positionCount() const;
    // The file's name and the first reason it could not be used, in one line; empty when it could.
    QString note() const;
    // The record's file name alone.
    QString fileName() const;
};

ScanRecord parseScanRecord(const QByteArray& bytes, const QString& path = QString());

// The run records in `file`'s folder: every *document.txt (any case), for example the radiograph's
// own "..._rad_document.txt"; each read, a damaged one with its reason in `ignored`.
std::vector<ScanRecord> scanRecordsBeside(const QString& file);

}  // namespace files
