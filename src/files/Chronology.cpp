#include "files/Chronology.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

namespace {

// The columns every chronology has had, then those added since (age_BP, the counting errors, the
// count difference, marker): a file without the added ones is read as a chronology of an earlier version.
enum Column {
    kYear, kSection, kTopColumn, kBottomColumn, kTopMm, kBottomMm, kCompositeTop, kCompositeBottom, kThickness,
    kUncertain, kYearsMin, kYearsMax, kLabel, kNote, kFirstAddedColumn,
    kAgeBp = kFirstAddedColumn, kErrorYears, kErrorPercent, kCountDifference, kMarker, kColumnCount
};
const char* const kColumnNames[kColumnCount] = {
    "year", "section", "top_column", "bottom_column", "top_mm", "bottom_mm", "composite_top_mm",
    "composite_bottom_mm", "thickness_mm", "uncertain_boundaries", "years_min", "years_max", "label", "note",
    "age_BP", "counting_error_years", "counting_error_percent", "count_difference_years", "marker"};
// The order they are written in.
constexpr Column kWrittenOrder[] = {kYear, kAgeBp, kSection, kTopColumn, kBottomColumn, kTopMm, kBottomMm,
                                    kCompositeTop, kCompositeBottom, kThickness, kUncertain, kYearsMin, kYearsMax,
                                    kErrorYears, kErrorPercent, kCountDifference, kLabel, kMarker, kNote};
// Sub-layer columns follow: at least this many, so a table's shape does not hang on one odd varve.
constexpr int kFewestSublayerColumns = 2;
const QString kSublayerPrefix = QStringLiteral("sublayer_");
const QString kSublayerSuffix = QStringLiteral("_mm");
constexpr int kMostColumns = 1000;  // a header wider than this is no chronology's
constexpr char kMarkerSeparator = '|';

bool holdsLevel(const QString& digits, int level) {
    return level != kHalfYearLevel && digits.contains(QChar(u'0' + level));
}

bool namesLevel(const QString& digits, int level) {
    return level >= 1 && level <= kChronologyLevels && digits.contains(QChar(u'0' + level));
}

void joinInto(QString& joined, const QString& text) {
    if (text.isEmpty()) return;
    if (!joined.isEmpty()) joined += QStringLiteral("; ");
    joined += text;
}

// A value read back as a number, or the reason the row is not a chronology's.
double number(const Variant& v, int row, const char* column) {
    if (!v.isNumeric()) {
        throw ChronologyError(QStringLiteral("Row %1 holds \"%2\" as its %3, where a number belongs.")
                                  .arg(row)
                                  .arg(v.toString(), column));
    }
    return v.toDouble();
}

// A whole number of the file within [lowest, highest], or the reason the row is not a chronology's
// (a value past what the type holds would not even convert).
template <typename Whole>
Whole wholeNumber(const Variant& v, int row, const char* column, double lowest, double highest) {
    const double x = std::round(number(v, row, column));
    if (!(x >= lowest && x <= highest)) {
        throw ChronologyError(QStringLiteral("Row %1 holds %2 as its %3, beyond what a chronology holds.")
                                  .arg(row)
                                  .arg(v.toString(), column));
    }
    return static_cast<Whole>(x);
}

constexpr double kFarthestYear = 1e7;  // calendar years and year counts
constexpr double kFarthestColumn = 2147483647;

}  // namespace

bool YearRule::isYear(int level) const {
    return holdsLevel(years, level);
}

bool YearRule::isUncertainYear(int level) const {
    return holdsLevel(uncertain, level);
}

std::optional<YearRule> parseYearRule(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(';'));
    if (parts.size() != 2) return std::nullopt;
    YearRule rule{QString(), QString()};
    QString* into = &rule.years;
    for (const QString& part : parts) {
        for (const QChar c : part) {
            if (c == QLatin1Char(' ') || c == QLatin1Char(',')) continue;
            const int level = c.digitValue();  // -1 for anything but a digit
            if (level < 1 || level == kHalfYearLevel || rule.years.contains(c) || rule.uncertain.contains(c))
                return std::nullopt;
            *into += c;
        }
        into = &rule.uncertain;
    }
    return rule;
}

std::optional<QString> parseSeasonLevels(const QString& text, const YearRule& rule) {
    QString levels;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char(',')) continue;
        const int level = c.digitValue();
        if (level < 1 || levels.contains(c) || rule.isYear(level) || rule.isUncertainYear(level)) return std::nullopt;
        levels += c;
    }
    return levels;
}

double Varve::countingErrorPercent() const {
    const double count = 0.5 * (yearsMin + yearsMax);
    constexpr double kHundredths = 100;
    return count > 0 ? std::round(100 * countingErrorYears() / count * kHundredths) / kHundredths : 0;
}

QString markerName(const QString& label) {
    return label.simplified().replace(QLatin1Char(kMarkerSeparator), QLatin1Char('/'));
}

QString levelList(const QString& levels) {
    QStringList each;
    for (const QChar level : levels) each << QString(level);
    return each.join(QStringLiteral(", "));
}

std::vector<ChronologyMark> chronologyMarks(
    const core::PositionAxis& axis, const core::Array<Variant>& yearMark,
    const core::Array<QString>& markerLabel, const core::Array<QString>& markerNote,
    const std::function<core::Millimetres(core::Position)>& positionMm) {
    std::vector<ChronologyMark> marks;
    for (core::Position p(1); axis.holds(p); p = p + 1) {
        const Variant& mark = yearMark(p);
        const int level = mark.isNumeric() ? static_cast<int>(mark.toDouble()) : 0;
        const bool boundary = level >= 1 && level <= kChronologyLevels;
        const QString label = isStoredText(markerLabel(p)) ? typedText(markerLabel(p)) : QString();
        const QString note = isStoredText(markerNote(p)) ? typedText(markerNote(p)) : QString();
        if (!boundary && label.isEmpty() && note.isEmpty()) continue;
        marks.push_back({axis.columnOf(p), positionMm(p), boundary ? level : 0, label, note});
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const ChronologyMark& a, const ChronologyMark& b) { return a.mm < b.mm; });
    return marks;
}

namespace {

// The thicknesses of the sub-layers between a varve's top and bottom divided at `inside` (mm, from the
// top); none without a division.
std::vector<double> sublayers(double topMm, double bottomMm, const std::vector<double>& inside) {
    std::vector<double> thicknesses;
    if (inside.empty()) return thicknesses;
    double from = topMm;
    for (const double mm : inside) {
        thicknesses.push_back(Varve::roundedMm(mm - from));
        from = mm;
    }
    thicknesses.push_back(Varve::roundedMm(bottomMm - from));
    return thicknesses;
}

void addMarker(QString& key, const QString& label) {
    const QString name = markerName(label);
    if (name.isEmpty() || key.split(QLatin1Char(kMarkerSeparator)).contains(name)) return;
    if (!key.isEmpty()) key += QLatin1Char(kMarkerSeparator);
    key += name;
}

}  // namespace

std::vector<Varve> buildVarves(const std::vector<ChronologyMark>& marks, const ChronologyOptions& options) {
    std::vector<Varve> varves;
    const ChronologyMark* top = nullptr;  // the year boundary the varve being built starts at
    Varve current;
    std::vector<double> seasons;  // the season boundaries inside it (mm)
    int uncertainSoFar = 0;
    for (const ChronologyMark& m : marks) {
        const bool year = m.level > 0 && options.rule.isYear(m.level);
        if (top && year) {
            const int n = static_cast<int>(varves.size()) + 1;
            current.year = options.topYear ? *options.topYear - (n - 1) : n;
            current.calendarYear = options.topYear.has_value();
            current.section = options.section;
            current.topColumn = top->column;
            current.bottomColumn = m.column;
            current.topMm = top->mm.value;
            current.bottomMm = m.mm.value;
            current.compositeTopMm = Varve::roundedMm(options.compositeTopMm + top->mm.value);
            current.compositeBottomMm = Varve::roundedMm(options.compositeTopMm + m.mm.value);
            uncertainSoFar += current.uncertainBoundaries;
            current.yearsMin = n;
            current.yearsMax = n + uncertainSoFar;
            current.sublayersMm = sublayers(current.topMm, current.bottomMm, seasons);
            if (options.countDifference) current.countDifference = options.countDifference(top->column);
            varves.push_back(current);
            current = Varve();
            seasons.clear();
        }
        if (year) top = &m;
        if (!top) continue;  // above the first year boundary: in no varve
        if (m.level > 0 && options.rule.isUncertainYear(m.level)) ++current.uncertainBoundaries;
        if (namesLevel(options.seasonLevels, m.level) && !year && m.mm.value > top->mm.value)
            seasons.push_back(m.mm.value);
        joinInto(current.label, m.label);
        addMarker(current.marker, m.label);
        joinInto(current.note, m.note);
    }
    return varves;
}

namespace {

Variant optionalNumber(std::optional<int> n) {
    return n ? Variant(*n) : Variant();
}

Variant cellOf(const Varve& v, Column c) {
    switch (c) {
        case kYear: return Variant(v.year);
        case kAgeBp: return optionalNumber(v.ageBp());
        case kSection: return Variant(v.section);
        case kTopColumn: return Variant(static_cast<core::Long>(v.topColumn.value));
        case kBottomColumn: return Variant(static_cast<core::Long>(v.bottomColumn.value));
        case kTopMm: return Variant(v.topMm);
        case kBottomMm: return Variant(v.bottomMm);
        case kCompositeTop: return Variant(v.compositeTopMm);
        case kCompositeBottom: return Variant(v.compositeBottomMm);
        case kThickness: return Variant(v.thicknessMm());
        case kUncertain: return Variant(v.uncertainBoundaries);
        case kYearsMin: return Variant(v.yearsMin);
        case kYearsMax: return Variant(v.yearsMax);
        case kErrorYears: return Variant(v.countingErrorYears());
        case kErrorPercent: return Variant(v.countingErrorPercent());
        case kCountDifference: return optionalNumber(v.countDifference);
        case kLabel: return Variant(v.label);
        case kMarker: return Variant(v.marker);
        case kNote: return Variant(v.note);
        case kColumnCount: break;
    }
    return {};
}

QString sublayerColumn(std::size_t k) {
    return kSublayerPrefix + QString::number(k + 1) + kSublayerSuffix;
}

}  // namespace

QByteArray writeChronology(const std::vector<Varve>& varves) {
    std::size_t sublayerColumns = kFewestSublayerColumns;
    for (const Varve& v : varves) sublayerColumns = std::max(sublayerColumns, v.sublayersMm.size());
    FieldWriter w;
    for (const Column c : kWrittenOrder) w.field(Variant(kColumnNames[c]));
    for (std::size_t k = 0; k < sublayerColumns; ++k) w.field(Variant(sublayerColumn(k)));
    w.endLine();
    for (const Varve& v : varves) {
        for (const Column c : kWrittenOrder) w.field(cellOf(v, c));
        for (std::size_t k = 0; k < sublayerColumns; ++k)
            w.field(k < v.sublayersMm.size() ? Variant(v.sublayersMm[k]) : Variant());
        w.endLine();
    }
    return w.takeBytes();
}

namespace {

// Where each column stands in the file (-1: not there), and the sub-layer columns in order.
struct Header {
    std::array<int, kColumnCount> at{};
    std::vector<int> sublayers;
    std::size_t width = 0;
};

const QString kNotAChronology = QStringLiteral(
    "It is not a chronology written by Stratalyser: its first line does not name the columns year, section, "
    "top_column ... note.");

Header headerOf(const std::vector<Variant>& names) {
    Header h;
    h.at.fill(-1);
    h.width = names.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = names[i].toString();
        const int index = static_cast<int>(i);
        const auto known = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
        if (known != std::end(kColumnNames)) {
            int& at = h.at[static_cast<std::size_t>(known - std::begin(kColumnNames))];
            if (at >= 0) throw ChronologyError(kNotAChronology);  // a column named twice
            at = index;
        } else if (name == sublayerColumn(h.sublayers.size())) {
            h.sublayers.push_back(index);
        } else {
            throw ChronologyError(kNotAChronology);
        }
    }
    for (int c = 0; c < kFirstAddedColumn; ++c)
        if (h.at[static_cast<std::size_t>(c)] < 0) throw ChronologyError(kNotAChronology);
    return h;
}

}  // namespace

std::vector<Varve> readChronology(const QByteArray& bytes) {
    FieldReader reader(bytes);
    // Every line is read no wider than a chronology's: a file of separators is refused at its
    // first line, not held whole as fields.
    std::vector<Variant> row;
    try {
        if (!reader.atEnd()) row = reader.readLine(kMostColumns);
    } catch (const core::RuntimeError&) {  // too wide, or a quoted text never closed
        row.clear();
    }
    const Header h = headerOf(row);
    std::vector<Varve> varves;
    bool countedFromTop = true;  // an earlier version's file names no age: its years tell
    for (int line = 2; !reader.atEnd(); ++line) {
        try {
            row = reader.readLine(h.width + 1);
        } catch (const core::EndOfFileError&) {
            throw ChronologyError(QStringLiteral("Row %1 ends inside a quoted text.").arg(line));
        } catch (const core::FileError&) {
            throw ChronologyError(QStringLiteral("Row %1 has more than %2 fields.").arg(line).arg(h.width));
        }
        if (row.size() != h.width)
            throw ChronologyError(QStringLiteral("Row %1 has %2 fields, not %3.").arg(line).arg(row.size()).arg(h.width));
        Varve v;
        const auto at = [&](Column c) -> const Variant& { return row[static_cast<std::size_t>(h.at[c])]; };
        const auto has = [&](Column c) { return h.at[c] >= 0 && !at(c).isEmpty(); };
        v.year = wholeNumber<int>(at(kYear), line, "year", -kFarthestYear, kFarthestYear);
        v.section = at(kSection).toString();
        v.topColumn = core::Column(wholeNumber<long>(at(kTopColumn), line, "top_column", -kFarthestColumn, kFarthestColumn));
        v.bottomColumn =
            core::Column(wholeNumber<long>(at(kBottomColumn), line, "bottom_column", -kFarthestColumn, kFarthestColumn));
        v.topMm = number(at(kTopMm), line, "top_mm");
        v.bottomMm = number(at(kBottomMm), line, "bottom_mm");
        v.compositeTopMm = number(at(kCompositeTop), line, "composite_top_mm");
        v.compositeBottomMm = number(at(kCompositeBottom), line, "composite_bottom_mm");
        v.uncertainBoundaries = wholeNumber<int>(at(kUncertain), line, "uncertain_boundaries", 0, kFarthestYear);
        v.yearsMin = wholeNumber<int>(at(kYearsMin), line, "years_min", -kFarthestYear, kFarthestYear);
        v.yearsMax = wholeNumber<int>(at(kYearsMax), line, "years_max", -kFarthestYear, kFarthestYear);
        v.calendarYear = has(kAgeBp);
        if (has(kCountDifference))
            v.countDifference = wholeNumber<int>(at(kCountDifference), line, "count_difference_years", -kFarthestYear, kFarthestYear);
        v.label = at(kLabel).toString();
        v.marker = h.at[kMarker] >= 0 ? at(kMarker).toString() : QString();
        v.note = at(kNote).toString();
        for (const int c : h.sublayers) {
            const Variant& cell = row[static_cast<std::size_t>(c)];
            if (cell.isEmpty()) break;
            v.sublayersMm.push_back(number(cell, line, "sub-layer thickness"));
        }
        countedFromTop = countedFromTop && v.year == v.yearsMin;
        varves.push_back(std::move(v));
    }
    if (h.at[kAgeBp] < 0)
        for (Varve& v : varves) v.calendarYear = !countedFromTop;
    return varves;
}

QString sectionNameFromTable(const QString& firstField) {
    const QStringList parts = firstField.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].trimmed().startsWith(QStringLiteral("XRF data"), Qt::CaseInsensitive))
            return parts[i - 1].trimmed();
    }
    return {};
}


}  // namespace files
