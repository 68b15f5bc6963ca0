#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "core/BoundedArray.h"
#include "core/CurveTable.h"
#include "core/VariantTable.h"
#include "core/Variant.h"

// The working file: the XRF table as imported, the grey value, and per data position the
// boundary marker, lamina label and note.
//
//   1           first field of the XRF file it was built from
//   2           "varvecounting"
//   3           "peakarea"
//   4           "filename", headers 1..C-1, "greyscale", "year", "marker", "note"
//   4 + i       XRF fields 1..C of row i, grey, YearMark(i), MarkerLabel(i), MarkerNote(i)
namespace files {

struct WorkingFileSource {
    int dataLength;   // N
    int columnCount;  // C
    const core::Array<QString>& headers;
    const core::VariantTable& xrf;      // (field 1..C, row 1..N)
    const core::CurveTable& profile;           // column 0 = grey, rows 1..N
    const core::Array<core::Variant>& yearMark;
    const core::Array<QString>& markerLabel;
    const core::Array<QString>& markerNote;
};

// Throws core::SubscriptError when an array is smaller than N or C says.
QByteArray writeWorkingFile(const WorkingFileSource& source);
// The same text in parts that follow each other (a large table's two halves, written at once),
// saved as they are without being joined: a section of 100000 rows never holds its file twice.
std::vector<std::string> workingFileParts(const WorkingFileSource& source);

}  // namespace files
