#pragma once

#include <QByteArray>
#include <QString>

#include "core/BoundedArray.h"
#include "core/Variant.h"

// The summary of a counting: the section cut at every labelled lamina, and for each segment the
// number of boundaries of each level 1..9.
//
//   1   the working file's name
//   2   the date
//   3   "Boundaries", "Level-1" .. "Level-9"
//   4   "'Section top'"
//   then per labelled lamina (in position order): a count line ("---" and nine numbers) and the
//   label line ("'#label'"); then the count line of the last segment and "'Section bottom'".
// A boundary at a labelled position is counted in no segment.
namespace files {

QByteArray writeSummary(const QString& workingFileName, core::Date today, int dataLength,
                        const core::Array<core::Variant>& yearMark, const core::Array<QString>& markerLabel);

// "core.csv" -> "core (Summary).csv": the name without its last four characters. Empty when the
// name is too short to have them.
QString summaryFileName(const QString& lastUsedName);

}  // namespace files
