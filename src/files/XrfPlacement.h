#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/Places.h"
#include "core/VariantTable.h"
#include "files/ScanRecord.h"

// An XRF table measured at another step than the radiograph's columns (the radiograph at 0.2 mm,
// the XRF every 0.5 or 1 mm), placed onto the columns: each column takes the measurement nearest
// its own position along the core.
namespace files {

inline constexpr double kMissingMeasurement = -9999;  // drawn as a gap

struct XrfPlacement {
    core::PositionScale positions;                // the radiograph's positions along the core
    std::vector<core::Millimetres> rowPositions;  // each measurement's, rising
    core::Millimetres rowStep;
    bool fromRunRecords = false;  // the radiograph's positions from its document.txt
    QStringList notes;            // run records that were ignored, one line each
};

// The radiograph's own run record among `records`: one whose count of positions matches its
// `columns`, the one that says XRF OFF first. A record that says OFF but another count is named in
// `notes`. A record with several "Step size" lines takes the first whose count matches, and
// `notes` says which line was used.
std::optional<ScanRecord> radiographRecord(const std::vector<ScanRecord>& records, int columns, QStringList& notes);

// How a table of `rowCount` rows lies on a radiograph of `columns` columns, from the run records
// beside the radiograph and beside the table, else from the table's positions alone (the
// radiograph then covers the stretch the measurements cover, if it has at least 1.1 columns per
// measurement). Nothing when neither tells.
std::optional<XrfPlacement> planXrfPlacement(const std::vector<ScanRecord>& besideRadiograph,
                                             const std::vector<ScanRecord>& besideTable, int columns,
                                             const core::VariantTable& data, int rowCount);

// The table with one row per position of the radiograph's `columns`: row p is the measurement
// nearest position p's millimetre, with field 2 holding that millimetre; a position outside the
// measured stretch keeps the nearest row's spectrum name and has the missing value in every other
// field.
core::VariantTable placeXrfOnColumns(const core::VariantTable& data, int fieldCount, const XrfPlacement& placement,
                                     int columns);

}  // namespace files
