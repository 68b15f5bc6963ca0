#include "files/ChronologyJoin.h"

#include <map>

namespace files {

namespace {

constexpr double kSameDepthMm = 1e-6;

// Each label of a section with the varves it is found in.
std::map<QString, std::vector<std::size_t>> labelRows(const std::vector<Varve>& varves) {
    std::map<QString, std::vector<std::size_t>> rows;
    for (std::size_t i = 0; i < varves.size(); ++i) {
        for (const QString& label : varves[i].label.split(QStringLiteral("; "), Qt::SkipEmptyParts))
            rows[label.trimmed()].push_back(i);
    }
    return rows;
}

// Down the core the years run as the upper section's do: up from a count, down from a calendar year.
int yearStep(const std::vector<Varve>& upper) {
    if (upper.size() >= 2) return upper[1].year >= upper[0].year ? 1 : -1;
    return upper.empty() || upper[0].year == upper[0].yearsMin ? 1 : -1;
}

// Years, years_min and years_max counted on from the first row (calendar years if its are).
void countOn(std::vector<Varve>& rows, int step) {
    if (rows.empty()) return;
    const Varve first = rows.front();
    int uncertain = first.yearsMax - first.yearsMin - first.uncertainBoundaries;  // above the first row
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Varve& v = rows[i];
        uncertain += v.uncertainBoundaries;
        v.year = first.year + step * static_cast<int>(i);
        v.calendarYear = first.calendarYear;
        v.yearsMin = first.yearsMin + static_cast<int>(i);
        v.yearsMax = v.yearsMin + uncertain;
    }
}

void shift(Varve& v, double mm) {
    v.compositeTopMm = Varve::roundedMm(v.compositeTopMm + mm);
    v.compositeBottomMm = Varve::roundedMm(v.compositeBottomMm + mm);
}

}  // namespace

std::vector<SharedLayer> sharedLayers(const std::vector<Varve>& upper, const std::vector<Varve>& lower,
                                      const QString& upperName, const QString& lowerName) {
    const auto above = labelRows(upper), below = labelRows(lower);
    std::vector<SharedLayer> shared;
    for (const auto& [label, rows] : above) {
        const auto other = below.find(label);
        if (other == below.end()) continue;
        if (rows.size() > 1 || other->second.size() > 1) {
            throw ChronologyError(QStringLiteral("The layer \"%1\" is labelled in two varves of %2, so it cannot tie "
                                                 "the sections.")
                                      .arg(label, rows.size() > 1 ? upperName : lowerName));
        }
        shared.push_back({label, rows[0], other->second[0]});
    }
    std::sort(shared.begin(), shared.end(),
              [](const SharedLayer& a, const SharedLayer& b) { return a.upperRow < b.upperRow; });
    return shared;
}

std::vector<Varve> joinTwo(const std::vector<Varve>& upper, const std::vector<Varve>& lower, const Tie& tie,
                           std::vector<LayerCheck>& checks, double* movedUpMm) {
    checks.clear();
    if (movedUpMm) *movedUpMm = 0;
    if (upper.empty() || lower.empty()) throw ChronologyError(QStringLiteral("A section holds no varve."));
    // Each section's top in the composite depths it was saved with: going back up, they were given in the
    // wrong order.
    const double upperTop = upper[0].compositeTopMm - upper[0].topMm;
    const double lowerTop = lower[0].compositeTopMm - lower[0].topMm;
    const auto backwards = [](double from, double to) {
        return ChronologyError(QStringLiteral("The composite depths would go back up from %1 mm to %2 mm: are the "
                                              "sections in the order of the core, from the top down?")
                                   .arg(from)
                                   .arg(to));
    };
    if (lowerTop < upperTop - kSameDepthMm) throw backwards(upperTop, lowerTop);
    std::size_t keepUpper = upper.size(), fromLower = 0;
    double by = 0;
    const std::vector<SharedLayer> shared = sharedLayers(upper, lower, QString(), QString());
    if (tie.kind == Tie::Kind::Layer) {
        const auto at =
            std::find_if(shared.begin(), shared.end(), [&tie](const SharedLayer& s) { return s.label == tie.layer; });
        if (at == shared.end())
            throw ChronologyError(QStringLiteral("No layer \"%1\" is labelled in both sections.").arg(tie.layer));
        keepUpper = at->upperRow;
        fromLower = at->lowerRow;
        by = upper[at->upperRow].compositeTopMm - lower[at->lowerRow].compositeTopMm;
    } else {
        const double end = upper.back().compositeBottomMm;
        by = (tie.kind == Tie::Kind::Depth ? tie.depthMm : end - lower[0].topMm) - lowerTop;
        // In the overlap the upper's varves stand; the lower's go on from its first year boundary
        // at or below the upper's last, moved up to meet it: no stretch in two varves, none in no
        // varve. A varve of the lower that straddles the upper's last boundary is left out.
        while (fromLower < lower.size() && lower[fromLower].compositeTopMm + by < end - kSameDepthMm) ++fromLower;
        if (fromLower == lower.size()) {
            throw ChronologyError(QStringLiteral("With its top at %1 mm the lower section has no year boundary "
                                                 "below the upper's last, at %2 mm: nothing of it would follow.")
                                      .arg(Varve::roundedMm(lowerTop + by))
                                      .arg(end));
        }
        const double gap = Varve::roundedMm(lower[fromLower].compositeTopMm + by - end);
        by -= gap;
        if (movedUpMm) *movedUpMm = gap;
    }
    std::vector<Varve> joined(upper.begin(), upper.begin() + static_cast<std::ptrdiff_t>(keepUpper));
    for (std::size_t j = fromLower; j < lower.size(); ++j) {
        Varve v = lower[j];
        shift(v, by);
        if (!joined.empty() && v.compositeTopMm < joined.back().compositeBottomMm - kSameDepthMm)
            throw backwards(joined.back().compositeBottomMm, v.compositeTopMm);
        joined.push_back(std::move(v));
    }
    countOn(joined, yearStep(upper));
    // Each shared layer in both sections; the lower's year as the joined count gives it there.
    for (const SharedLayer& s : shared) {
        const bool isTie = tie.kind == Tie::Kind::Layer && s.label == tie.layer;
        LayerCheck c{s.label,
                     isTie,
                     upper[s.upperRow].compositeTopMm,
                     Varve::roundedMm(lower[s.lowerRow].compositeTopMm + by),
                     upper[s.upperRow].year,
                     0};
        const long offset = static_cast<long>(s.lowerRow) - static_cast<long>(fromLower);
        const long row = static_cast<long>(keepUpper) + offset;
        c.lowerYear = row >= 0 && row < static_cast<long>(joined.size())
                          ? joined[static_cast<std::size_t>(row)].year
                          : joined.front().year + yearStep(upper) * static_cast<int>(row);
        checks.push_back(c);
    }
    return joined;
}

QString joinReportText(const std::vector<JoinRecord>& joins) {
    QString text;
    for (const JoinRecord& j : joins) {
        text += QStringLiteral("%1 joined below %2: ").arg(j.lower, j.upper);
        switch (j.tie.kind) {
            case Tie::Kind::Layer:
                text += QStringLiteral("tied at the layer \"%1\".\n").arg(j.tie.layer);
                break;
            case Tie::Kind::Depth:
                text += QStringLiteral("its top at %1 mm composite depth (no layer labelled in both); its first "
                                       "year boundary below the last of %2 lay %3 mm below it and was moved up "
                                       "to meet it.\n")
                            .arg(j.tie.depthMm)
                            .arg(j.upper)
                            .arg(j.movedUpMm);
                break;
            case Tie::Kind::NoOverlap:
                text += QStringLiteral("no overlap, it begins at the last year boundary above.\n");
                break;
        }
        for (const LayerCheck& c : j.checks) {
            text += QStringLiteral("  layer \"%1\"%2: %3 mm composite depth in %4, %5 mm in %6; year %7 in %4, %8 in "
                                   "%6; difference %9 years, %10 mm\n")
                        .arg(c.layer, c.tie ? QStringLiteral(" (the tie)") : QString())
                        .arg(c.upperMm)
                        .arg(j.upper)
                        .arg(c.lowerMm)
                        .arg(j.lower)
                        .arg(c.upperYear)
                        .arg(c.lowerYear)
                        .arg(c.yearDifference())
                        .arg(c.mmDifference());
        }
    }
    return text;
}

QString joinReportName(const QString& joinedFile) {
    const QString base =
        joinedFile.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? joinedFile.chopped(4) : joinedFile;
    return base + QStringLiteral(" (join report).txt");
}

}  // namespace files
