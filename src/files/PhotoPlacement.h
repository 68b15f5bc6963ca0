#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/VariantTable.h"
#include "files/ScanRecord.h"

// The optical photo placed along the core by the scanner's coordinates: its run record gives the
// stretch it covers ("Optical Start" .. "Optical End", mm), the radiograph's the positions of its
// columns, so a millimetre of the photo can be shown over the same millimetre of the radiograph.
namespace files {

// Where the radiograph's positions lie: position 1's millimetre and one position's length (mm).
// Position 1 is the right-most display column; millimetres grow towards the left.
struct ColumnPositions {
    double startMm = 0, stepMm = 0;
    // Columns from the radiograph's right edge (position 1 stands for half a step either side of
    // its millimetre) to `mm`; negative beyond it.
    double columnsFromRightEdge(double mm) const { return (mm - startMm) / stepMm + 0.5; }
};

struct PhotoPlacement {
    double photoStartMm = 0, photoEndMm = 0;  // the photo's right and left edges along the core
    ColumnPositions columns;
    int radiographColumns = 0;  // display columns of the radiograph the photo lies over
    QString source;             // the run record's file name that gave the photo's stretch
    // Display columns from the radiograph's left edge to the photo's left edge (its end millimetre).
    double leftInColumns() const { return radiographColumns - columns.columnsFromRightEdge(photoEndMm); }
    double widthInColumns() const { return (photoEndMm - photoStartMm) / columns.stepMm; }
};

struct PhotoPlan {
    std::optional<PhotoPlacement> placement;  // nothing: the photo is shown as it always was
    QStringList notes;                        // records found but not used, one line each
};

// The photo's stretch from the first record beside the photo, else beside the XRF table, else
// beside the radiograph that has one; the columns' positions from the radiograph's own record,
// else from the XRF table's positions. A stretch of another section (another section name, no
// overlap with the radiograph, or far longer than it) is not used.
PhotoPlan planPhotoPlacement(const std::vector<ScanRecord>& besidePhoto, const std::vector<ScanRecord>& besideTable,
                             const std::vector<ScanRecord>& besideRadiograph, int columns,
                             std::optional<ColumnPositions> fromTable);

// The columns' positions from a table of one row per column (field 2, mm): first and last must be
// numbers, rising.
std::optional<ColumnPositions> tableColumnPositions(const core::VariantTable& data, int rowCount);

}  // namespace files
