#include "files/Chronology.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

namespace {

const char* const kColumns[] = {"year",
                                "section",
                                "top_column",
                                "bottom_column",
                                "top_mm",
                                "bottom_mm",
                                "composite_top_mm",
                                "composite_bottom_mm",
                                "thickness_mm",
                                "uncertain_boundaries",
                                "years_min",
                                "years_max",
                                "label",
                                "note"};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

bool holdsLevel(const QString& digits, int level) {
    return level != kHalfYearLevel && digits.contains(QChar(u'0' + level));
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

std::vector<Varve> buildVarves(const std::vector<ChronologyMark>& marks, const ChronologyOptions& options) {
    std::vector<Varve> varves;
    const ChronologyMark* top = nullptr;  // the year boundary the varve being built starts at
    Varve current;
    int uncertainSoFar = 0;
    for (const ChronologyMark& m : marks) {
        if (top && m.level > 0 && options.rule.isYear(m.level)) {
            const int n = static_cast<int>(varves.size()) + 1;
            current.year = options.topYear ? *options.topYear - (n - 1) : n;
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
            varves.push_back(current);
            current = Varve();
        }
        if (m.level > 0 && options.rule.isYear(m.level)) top = &m;
        if (!top) continue;  // above the first year boundary: in no varve
        if (m.level > 0 && options.rule.isUncertainYear(m.level)) ++current.uncertainBoundaries;
        joinInto(current.label, m.label);
        joinInto(current.note, m.note);
    }
    return varves;
}

QByteArray writeChronology(const std::vector<Varve>& varves) {
    FieldWriter w;
    for (const char* name : kColumns) w.field(Variant(name));
    w.endLine();
    for (const Varve& v : varves) {
        w.writeLine({Variant(v.year), Variant(v.section), Variant(static_cast<core::Long>(v.topColumn.value)),
                     Variant(static_cast<core::Long>(v.bottomColumn.value)), Variant(v.topMm),
                     Variant(v.bottomMm), Variant(v.compositeTopMm), Variant(v.compositeBottomMm),
                     Variant(v.thicknessMm()), Variant(v.uncertainBoundaries), Variant(v.yearsMin),
                     Variant(v.yearsMax), Variant(v.label), Variant(v.note)});
    }
    return w.takeBytes();
}

std::vector<Varve> readChronology(const QByteArray& bytes) {
    FieldReader reader(bytes);
    // Every line is read no wider than a chronology's: a file of separators is refused at its
    // first line, not held whole as fields.
    const auto width = static_cast<std::size_t>(kColumnCount) + 1;
    std::vector<Variant> row;
    try {
        if (!reader.atEnd()) row = reader.readLine(width);
    } catch (const core::FileError&) {
        row.clear();
    }
    bool header = static_cast<int>(row.size()) == kColumnCount;
    for (int c = 0; header && c < kColumnCount; ++c) header = row[static_cast<std::size_t>(c)] == kColumns[c];
    if (!header) {
        throw ChronologyError(
            QStringLiteral("It is not a chronology written by Stratalyser: its first line does not "
                           "name the columns year, section, top_column ... note."));
    }
    std::vector<Varve> varves;
    for (int line = 2; !reader.atEnd(); ++line) {
        try {
            row = reader.readLine(width);
        } catch (const core::FileError&) {
            throw ChronologyError(QStringLiteral("Row %1 has more than %2 fields.").arg(line).arg(kColumnCount));
        }
        if (static_cast<int>(row.size()) != kColumnCount)
            throw ChronologyError(
                QStringLiteral("Row %1 has %2 fields, not %3.").arg(line).arg(row.size()).arg(kColumnCount));
        Varve v;
        const auto at = [&row](int c) -> const Variant& { return row[static_cast<std::size_t>(c)]; };
        v.year = wholeNumber<int>(at(0), line, "year", -kFarthestYear, kFarthestYear);
        v.section = at(1).toString();
        v.topColumn =
            core::Column(wholeNumber<long>(at(2), line, "top_column", -kFarthestColumn, kFarthestColumn));
        v.bottomColumn =
            core::Column(wholeNumber<long>(at(3), line, "bottom_column", -kFarthestColumn, kFarthestColumn));
        v.topMm = number(at(4), line, "top_mm");
        v.bottomMm = number(at(5), line, "bottom_mm");
        v.compositeTopMm = number(at(6), line, "composite_top_mm");
        v.compositeBottomMm = number(at(7), line, "composite_bottom_mm");
        v.uncertainBoundaries = wholeNumber<int>(at(9), line, "uncertain_boundaries", 0, kFarthestYear);
        v.yearsMin = wholeNumber<int>(at(10), line, "years_min", -kFarthestYear, kFarthestYear);
        v.yearsMax = wholeNumber<int>(at(11), line, "years_max", -kFarthestYear, kFarthestYear);
        v.label = at(12).toString();
        v.note = at(13).toString();
        varves.push_back(std::move(v));
    }
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

QString chronologyFileName(const QString& lastUsedName) {
    if (lastUsedName.size() < 4) return {};
    return lastUsedName.left(lastUsedName.size() - 4) + QStringLiteral(" (Chronology).csv");
}

}  // namespace files
