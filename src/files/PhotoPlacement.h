#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/Places.h"
#include "core/VariantTable.h"
#include "files/ScanRecord.h"

// The optical photo placed along the core by the scanner's coordinates: its run record gives the
// stretch it covers ("Optical Start" .. "Optical End", mm), the radiograph's the positions of its
// columns, so a millimetre of the photo can be shown over the same millimetre of the radiograph.
namespace files {

struct PhotoPlacement {
    core::Millimetres photoStart, photoEnd;  // the photo's right and left edges along the core
    core::PositionScale positions;           // the radiograph's positions along the core
    int radiographColumns = 0;               // display columns of the radiograph the photo lies over
    QString source;                          // the run record's file name that gave the photo's stretch
    // The photo's left edge (its end millimetre) on the radiograph's display columns: column x
    // reaches from x to x + 1, position 1 half a step either side of its millimetre.
    core::ColumnPoint leftEdge() const {
        return core::ColumnPoint(radiographColumns - positions.stepsFromRightEdge(photoEnd));
    }
    double widthInColumns() const { return (photoEnd - photoStart) / positions.step; }
};

struct PhotoPlan {
    std::optional<PhotoPlacement> placement;  // nothing: the photo is shown as it always was
    QStringList notes;                        // records found but not used, one line each
};

// The photo's stretch from the first record beside the photo, else beside the XRF table, else
// beside the radiograph that has one; the columns' positions from the radiograph's own record,
// else from the XRF table's positions. A stretch of another section (another section name, no
// overlap with the radiograph, or far longer than it) is not used.
PhotoPlan planPhotoPlacement(const std::vector<ScanRecord>& besidePhoto,
                             const std::vector<ScanRecord>& besideTable,
                             const std::vector<ScanRecord>& besideRadiograph, int columns,
                             std::optional<core::PositionScale> fromTable);

// The positions' millimetres from a table of one row per position (field 2, mm): first and last
// must be numbers, rising.
std::optional<core::PositionScale> tableColumnPositions(const core::VariantTable& data, int rowCount);

}  // namespace files
