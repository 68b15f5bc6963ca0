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
//   year, age_BP, section, top_column, bottom_column, top_mm, bottom_mm, composite_top_mm,
//   composite_bottom_mm, thickness_mm, uncertain_boundaries, years_min, years_max,
//   counting_error_years, counting_error_percent, count_difference_years, label, marker, note,
//   sublayer_1_mm, sublayer_2_mm (and sublayer_3_mm ... when a varve has more)
//
// A varve is the stretch from one year boundary to the next (the boundaries of the year levels;
// the stretches above the first and below the last are no varves). `year` is the calendar year
// given for the topmost varve, one less for each varve down, and age_BP its age before 1950 (1950 =
// 0); without a calendar year the varves are numbered 1, 2, 3 from the top and age_BP is empty.
// Columns are the radiograph's as the program shows them, mm the scanner's positions along the
// section (0 at its top), the composite depth that position plus the depth of the section's top in
// the composite core. `uncertain_boundaries` counts the boundaries of the uncertain year levels
// inside the varve; `years_min` and `years_max` count from the top with those as no year and as a
// year. Counters take each uncertain boundary as 0.5 +/- 0.5 years, so the counting error down to
// the varve is half their number (counting_error_years) and, in per cent, that over the count
// (years_min + years_max) / 2. `count_difference_years`, while a second count of the core is open,
// is how many more years the second count has than this one in the interval between named laminae
// that holds the varve's top (empty without one). `label` and `note` join the labels and notes
// inside the varve (from its top boundary down to, not including, its bottom one) with "; ";
// `marker` is the same labels as a key: each name trimmed and its spaces single, each once, joined
// with "|". The season boundaries (level 3, the half year, unless the user names others) inside a
// varve divide it into its sub-layers, whose thicknesses from the top are sublayer_1_mm,
// sublayer_2_mm ... (empty for a varve without one).
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
// The season levels the user types ("3", "3, 4"; empty: none): levels 1..9, each once, none of them a
// year or uncertain year level. Nothing when the text is not such a list.
std::optional<QString> parseSeasonLevels(const QString& text, const YearRule& rule);
inline const QString kDefaultSeasonLevels = QStringLiteral("3");
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
    QString seasonLevels = kDefaultSeasonLevels;  // the boundaries of a varve's sub-layers, as digits
    // How many more years a second count has than this one in the interval holding a column (unset:
    // no second count).
    std::function<int(core::Column)> countDifference;
};

inline constexpr int kBpZeroYear = 1950;  // age BP = 1950 - the calendar year

struct Varve {
    int year = 0;
    QString section;
    core::Column topColumn, bottomColumn;
    double topMm = 0, bottomMm = 0;
    double compositeTopMm = 0, compositeBottomMm = 0;
    int uncertainBoundaries = 0;
    int yearsMin = 0, yearsMax = 0;
    bool calendarYear = false;            // `year` a calendar year, not a count from the top
    std::optional<int> countDifference;   // years of a second count over this one's, in the interval
    QString label, marker, note;
    std::vector<double> sublayersMm;      // from the top; empty without a season boundary inside
    double thicknessMm() const { return roundedMm(bottomMm - topMm); }
    std::optional<int> ageBp() const { return calendarYear ? std::optional<int>(kBpZeroYear - year) : std::nullopt; }
    // Each uncertain boundary down to here as 0.5 +/- 0.5 years.
    double countingErrorYears() const { return 0.5 * (yearsMax - yearsMin); }
    double countingErrorPercent() const;  // of the count (years_min + years_max) / 2, to 0.01
    // Sums and differences of positions to a nanometre: 1.2, not 1.2000000000000002.
    static double roundedMm(double mm) { return std::round(mm * 1e6) / 1e6; }
};

std::vector<Varve> buildVarves(const std::vector<ChronologyMark>& marks, const ChronologyOptions& options);
QByteArray writeChronology(const std::vector<Varve>& varves);
// A label as one name of the marker key: trimmed, its spaces single, a "|" (the key's separator) as "/".
QString markerName(const QString& label);

// A file that is not a chronology as writeChronology writes it: `reason` says why, for the user.
struct ChronologyError : core::RuntimeError {
    explicit ChronologyError(const QString& why)
        : core::RuntimeError(core::kTypeMismatch, why.toStdString()), reason(why) {}
    QString reason;
};
// Reads what writeChronology writes, and the files of earlier versions without the columns added
// since (age_BP, the counting errors, the count difference, marker, the sub-layers).
std::vector<Varve> readChronology(const QByteArray& bytes);

// The section's name in the scanner's first line of its table ("...\YAN 8A-1\XRF data  07/08/2013
// ..."): the folder above "XRF data"; empty when there is none.
QString sectionNameFromTable(const QString& firstField);


}  // namespace files
