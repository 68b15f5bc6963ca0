#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/BoundedArray.h"
#include "core/Variant.h"

// The chronology of a counting, one CSV table with one header line (spreadsheets, R and pandas read
// it as it is):
//
//   kind, top_mm, bottom_mm, level, label, level_1 .. level_9, years_min, years_max, year_levels,
//   uncertain_year_levels
//
// "boundary" rows, one per boundary from the core's top (smallest position in mm) down: its
// position (top_mm = bottom_mm), its level, the label at its position if any, and the cumulative
// count of boundaries of each level from the top through this one.
// "interval" rows, after them: the core cut at every labelled position (top .. first label, then
// from label to label, then the last label .. bottom): the interval's ends, the label closing it
// (none for the last), and the boundaries of each level inside it (top < position <= bottom; the
// first interval includes the core's top).
//
// Years follow the user's rule, written in the last two columns of every row: years_min counts the
// boundaries of the year levels, years_max those and the uncertain year levels' as well.
namespace files {

inline constexpr int kChronologyLevels = 9;
inline constexpr int kHalfYearLevel = 3;  // the seasonal layer inside a year: never a year of its own

// Which levels are year boundaries and which uncertain ones, each as the digits of its levels
// ("1", "2"; empty: none).
struct YearRule {
    QString years = QStringLiteral("1");
    QString uncertain = QStringLiteral("2");
    bool isYear(int level) const;
    bool isUncertainYear(int level) const;
};
// "1; 2": the year levels, then the uncertain ones; levels 1..9 but the half year, none in both.
// Nothing when the text is not such a rule.
std::optional<YearRule> parseYearRule(const QString& text);
QString yearRuleText(const YearRule& rule);

struct ChronologyPoint {
    double mm = 0;
    int level = 0;  // 0: no boundary here (a labelled position only)
    QString label;  // empty: none
};

// The positions 1 .. dataLength that hold a boundary or a label, ordered from the top (by mm; equal
// positions keep their order). positionMm gives the XRF position of a data position.
std::vector<ChronologyPoint> chronologyPoints(int dataLength, const core::Array<core::Variant>& yearMark,
                                              const core::Array<QString>& markerLabel,
                                              const std::function<double(int)>& positionMm);

// The table for the points, with the core's top and bottom positions (mm) closing the intervals.
QByteArray writeChronology(const std::vector<ChronologyPoint>& points, double topMm, double bottomMm,
                           const YearRule& rule = {});

// "core.csv" -> "core (Chronology).csv"; empty when the name is too short to end in ".csv".
QString chronologyFileName(const QString& lastUsedName);

}  // namespace files
