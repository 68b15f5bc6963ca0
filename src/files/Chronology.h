#pragma once

#include <QByteArray>
#include <QString>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "core/BoundedArray.h"
#include "core/Errors.h"
#include "core/Places.h"
#include "core/Variant.h"

// The chronology of one core section as varve chronologies are published: one CSV table (one
// header line; spreadsheets, R and pandas read it as it is), one row per varve from the top:
//
//   year, section, top_column, bottom_column, top_mm, bottom_mm, composite_top_mm,
//   composite_bottom_mm, thickness_mm, uncertain_boundaries, years_min, years_max, label, note
//
// A varve is the stretch from one year boundary to the next (the boundaries of the year levels;
// the stretches above the first and below the last are no varves). `year` is the calendar year
// given for the topmost varve, one less for each varve down; without one, 1, 2, 3 from the top.
// Columns are the radiograph's as the program shows them, mm the scanner's positions along the
// section (0 at its top), the composite depth that position plus the depth of the section's top in
// the composite core. `uncertain_boundaries` counts the boundaries of the uncertain year levels
// inside the varve; `years_min` and `years_max` count from the top with those as no year and as a
// year. `label` and `note` join the labels and notes inside the varve (from its top boundary down
// to, not including, its bottom one) with "; ".
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
// Levels as the user reads and types them: "19" as "1, 9".
QString levelList(const QString& levels);

// A position that holds a boundary, a label or a note.
struct ChronologyMark {
    core::Column column;
    core::Millimetres mm;
    int level = 0;  // 0: no boundary here
    QString label;  // as typed (empty: none)
    QString note;
};

// The marked positions of the axis, from the top (by mm; equal positions keep their order), each at
// its display column and at the millimetre positionMm gives it.
std::vector<ChronologyMark> chronologyMarks(
    const core::PositionAxis& axis, const core::Array<core::Variant>& yearMark,
    const core::Array<QString>& markerLabel, const core::Array<QString>& markerNote,
    const std::function<core::Millimetres(core::Position)>& positionMm);

struct ChronologyOptions {
    std::optional<int> topYear;  // the calendar year of the topmost varve
    QString section;
    double compositeTopMm = 0;
    YearRule rule;
};

struct Varve {
    int year = 0;
    QString section;
    core::Column topColumn, bottomColumn;
    double topMm = 0, bottomMm = 0;
    double compositeTopMm = 0, compositeBottomMm = 0;
    int uncertainBoundaries = 0;
    int yearsMin = 0, yearsMax = 0;
    QString label, note;
    double thicknessMm() const { return roundedMm(bottomMm - topMm); }
    // Sums and differences of positions to a nanometre: 1.2, not 1.2000000000000002.
    static double roundedMm(double mm) { return std::round(mm * 1e6) / 1e6; }
};

std::vector<Varve> buildVarves(const std::vector<ChronologyMark>& marks, const ChronologyOptions& options);
QByteArray writeChronology(const std::vector<Varve>& varves);

// A file that is not a chronology as writeChronology writes it: `reason` says why, for the user.
struct ChronologyError : core::RuntimeError {
    explicit ChronologyError(const QString& why)
        : core::RuntimeError(core::kTypeMismatch, why.toStdString()), reason(why) {}
    QString reason;
};
std::vector<Varve> readChronology(const QByteArray& bytes);

// The section's name in the scanner's first line of its table ("...\YAN 8A-1\XRF data  07/08/2013
// ..."): the folder above "XRF data"; empty when there is none.
QString sectionNameFromTable(const QString& firstField);

// "core.csv" -> "core (Chronology).csv"; empty when the name is too short to end in ".csv".
QString chronologyFileName(const QString& lastUsedName);

}  // namespace files
