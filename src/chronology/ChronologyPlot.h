#pragma once

#include <QString>
#include <vector>

#include "files/Chronology.h"

class QPainter;

// The two figures a varve chronology is shown by in papers, drawn from the chronology's varves:
// the varve thickness against the year (the varves with an uncertain boundary marked), and the age
// against the composite depth with the counting error's envelope around it.
namespace chronology {

struct ThicknessPoint {
    double year = 0;  // the calendar year, or the varve's number from the top
    double thicknessMm = 0;
    bool uncertain = false;  // an uncertain boundary lies inside the varve
};

struct AgePoint {
    double depthMm = 0;  // composite depth of the varve's top
    double age = 0;      // best count: each uncertain boundary down to here as half a year
    double error = 0;    // +/- years
};

struct ChronologyFigure {
    bool calendar = false;  // years are calendar years (CE), not counts from the top
    std::vector<ThicknessPoint> thickness;
    std::vector<AgePoint> ageDepth;
};

ChronologyFigure chronologyFigure(const std::vector<files::Varve>& varves);

// The figure is laid out in exporting::kLayoutWidth units wide and this high.
inline constexpr double kFigureHeight = 700;
void paintChronologyFigure(QPainter& painter, const ChronologyFigure& figure);

// The points of a series (x rising or falling throughout) as drawn `buckets` wide: where more than
// two fall in one bucket, only its first, lowest, highest and last remain (a line through them looks
// the same on screen), in order.
std::vector<std::size_t> keptForDrawing(const std::vector<double>& x, const std::vector<double>& y, double xFrom,
                                        double xTo, int buckets);

}  // namespace chronology
