#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "files/Chronology.h"

// Section chronologies joined into one of the composite core, section after section down the core.
// Two successive sections are tied at a layer both label alike (in the overlap where both show it):
// the upper section's varves above the tie's varve, then the lower section's from it on, shifted
// to the upper's composite depths there. Without such a layer, at a given depth of the lower
// section's top in the upper's composite depths (the lower's varves reaching below the upper's last
// one follow it), or with no overlap (the lower section begins at the upper's last year boundary).
// The years, years_min and years_max are then counted on from the upper section's top down.
namespace files {

struct SharedLayer {
    QString label;
    std::size_t upperRow = 0, lowerRow = 0;
};

// The layers labelled in both, in the upper's order. Throws ChronologyError when such a label is
// found in two varves of one section (it cannot tie them).
std::vector<SharedLayer> sharedLayers(const std::vector<Varve>& upper, const std::vector<Varve>& lower,
                                      const QString& upperName, const QString& lowerName);

struct Tie {
    enum class Kind { Layer, Depth, NoOverlap } kind = Kind::NoOverlap;
    QString layer;       // Kind::Layer
    double depthMm = 0;  // Kind::Depth: the lower section's top in the upper's composite depth
};

// What the join found at each tie: per shared layer its depth and year in both sections (the
// lower's as the join gives it), and how far apart they are.
struct LayerCheck {
    QString layer;
    bool tie = false;
    double upperMm = 0, lowerMm = 0;   // composite top of the layer's varve, the lower's shifted
    int upperYear = 0, lowerYear = 0;  // the lower's from its own count, continued from the tie
    int yearDifference() const { return lowerYear - upperYear; }
    double mmDifference() const { return Varve::roundedMm(lowerMm - upperMm); }
};

// The two joined; `checks` gets the shared layers' comparison, `movedUpMm` how far the lower's
// first year boundary below the upper's last lay below it (at a given depth; the lower section is
// moved up by that to meet it). Throws ChronologyError when the lower section's composite depths
// would go back above the upper's (sections in the wrong order), or nothing of it lies below.
std::vector<Varve> joinTwo(const std::vector<Varve>& upper, const std::vector<Varve>& lower, const Tie& tie,
                           std::vector<LayerCheck>& checks, double* movedUpMm = nullptr);

// One join of the report: the two sections, how they were tied, what the shared layers showed.
struct JoinRecord {
    QString upper, lower;
    Tie tie;
    std::vector<LayerCheck> checks;
    double movedUpMm = 0;  // Tie::Kind::Depth: see joinTwo
};
// The report written beside the joined file: per tie the layer, its depth and year in both sections
// and their difference.
QString joinReportText(const std::vector<JoinRecord>& joins);

// "core.csv" -> "core (join report).txt".
QString joinReportName(const QString& joinedFile);

}  // namespace files
