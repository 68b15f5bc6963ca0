#include "files/Chronology.h"

#include <algorithm>
#include <array>

#include <QStringList>

#include "files/FieldSyntax.h"

namespace files {

using core::Variant;

namespace {

using Counts = std::array<int, kChronologyLevels + 1>;  // index 1..9

bool isLabel(const QString& label) {
    return label != QStringLiteral("---") && label != QStringLiteral("#---") && !label.isEmpty();
}

int yearsMin(const Counts& c, const YearRule& rule) {
    int n = 0;
    for (int level = 1; level <= kChronologyLevels; ++level) n += rule.isYear(level) ? c[static_cast<std::size_t>(level)] : 0;
    return n;
}

int yearsMax(const Counts& c, const YearRule& rule) {
    int n = yearsMin(c, rule);
    for (int level = 1; level <= kChronologyLevels; ++level)
        n += rule.isUncertainYear(level) ? c[static_cast<std::size_t>(level)] : 0;
    return n;
}

void writeRow(FieldWriter& w, const char* kind, double top, double bottom, int level, const QString& label,
              const Counts& counts, const YearRule& rule) {
    w.field(Variant(kind));
    w.field(Variant(top));
    w.field(Variant(bottom));
    w.field(level > 0 ? Variant(level) : Variant());
    w.field(Variant(label));
    for (int k = 1; k <= kChronologyLevels; ++k) w.field(Variant(counts[static_cast<std::size_t>(k)]));
    w.field(Variant(yearsMin(counts, rule)));
    w.field(Variant(yearsMax(counts, rule)));
    w.field(Variant(rule.years));
    w.field(Variant(rule.uncertain));
    w.endLine();
}

bool holdsLevel(const QString& digits, int level) {
    return level != kHalfYearLevel && digits.contains(QChar(u'0' + level));
}

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

QString yearRuleText(const YearRule& rule) {
    return rule.years + QStringLiteral("; ") + rule.uncertain;
}

std::vector<ChronologyPoint> chronologyPoints(int dataLength, const core::Array<Variant>& yearMark,
                                              const core::Array<QString>& markerLabel,
                                              const std::function<double(int)>& positionMm) {
    std::vector<ChronologyPoint> points;
    for (int p = 1; p <= dataLength; ++p) {
        const Variant& mark = yearMark(p);
        const int level = mark.isNumeric() ? static_cast<int>(mark.toDouble()) : 0;
        const QString& label = markerLabel(p);
        const bool boundary = level >= 1 && level <= kChronologyLevels;
        if (!boundary && !isLabel(label)) continue;
        points.push_back({positionMm(p), boundary ? level : 0, isLabel(label) ? label : QString()});
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const ChronologyPoint& a, const ChronologyPoint& b) { return a.mm < b.mm; });
    return points;
}

QByteArray writeChronology(const std::vector<ChronologyPoint>& points, double topMm, double bottomMm,
                           const YearRule& rule) {
    FieldWriter w;
    w.field(Variant("kind"));
    for (const char* name : {"top_mm", "bottom_mm", "level", "label"}) w.field(Variant(name));
    for (int k = 1; k <= kChronologyLevels; ++k) w.field(Variant(QStringLiteral("level_%1").arg(k)));
    w.field(Variant("years_min"));
    w.field(Variant("years_max"));
    w.field(Variant("year_levels"));
    w.field(Variant("uncertain_year_levels"));
    w.endLine();

    Counts total{};
    for (const ChronologyPoint& p : points) {
        if (p.level == 0) continue;
        ++total[static_cast<std::size_t>(p.level)];
        writeRow(w, "boundary", p.mm, p.mm, p.level, p.label, total, rule);
    }
    Counts inside{};
    double from = topMm;
    for (const ChronologyPoint& p : points) {
        if (p.level > 0) ++inside[static_cast<std::size_t>(p.level)];
        if (p.label.isEmpty()) continue;
        writeRow(w, "interval", from, p.mm, 0, p.label, inside, rule);
        inside.fill(0);
        from = p.mm;
    }
    writeRow(w, "interval", from, bottomMm, 0, QString(), inside, rule);
    return w.takeBytes();
}

QString chronologyFileName(const QString& lastUsedName) {
    if (lastUsedName.size() < 4) return {};
    return lastUsedName.left(lastUsedName.size() - 4) + QStringLiteral(" (Chronology).csv");
}

}  // namespace files
