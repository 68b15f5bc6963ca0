#include "compare/Matching.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace compare {

namespace {

bool sorted(std::span<const Boundary> list) {
    return std::is_sorted(list.begin(), list.end(),
                          [](const Boundary& a, const Boundary& b) { return a.position < b.position; });
}

struct Candidate {
    long distance;
    bool otherLevel;
    long ownPosition;
    long referencePosition;
    std::size_t own;
    std::size_t reference;
    auto key() const { return std::tie(distance, otherLevel, ownPosition, referencePosition, own, reference); }
};

void count(std::array<int, kLevels + 1>& levels, int level) {
    if (level >= 0 && level <= kLevels) ++levels[static_cast<std::size_t>(level)];
}

}  // namespace

Matching matchBoundaries(std::span<const Boundary> own, std::span<const Boundary> reference, long tolerance) {
    if (!sorted(own) || !sorted(reference)) throw std::invalid_argument("boundaries not sorted by position");
    tolerance = std::max(0L, tolerance);
    // Every pair within the tolerance, then the nearest taken first.
    std::vector<Candidate> candidates;
    std::size_t from = 0;
    for (std::size_t i = 0; i < own.size(); ++i) {
        const long p = own[i].position;
        while (from < reference.size() && reference[from].position < p - tolerance) ++from;
        for (std::size_t j = from; j < reference.size() && reference[j].position <= p + tolerance; ++j) {
            const long q = reference[j].position;
            candidates.push_back({std::abs(p - q), own[i].level != reference[j].level, p, q, i, j});
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.key() < b.key(); });
    std::vector<bool> ownUsed(own.size()), referenceUsed(reference.size());
    Matching m;
    for (const Candidate& c : candidates) {
        if (ownUsed[c.own] || referenceUsed[c.reference]) continue;
        ownUsed[c.own] = referenceUsed[c.reference] = true;
        m.pairs.push_back({c.own, c.reference});
    }
    std::sort(m.pairs.begin(), m.pairs.end(), [](const Pair& a, const Pair& b) { return a.own < b.own; });
    for (std::size_t i = 0; i < own.size(); ++i)
        if (!ownUsed[i]) m.onlyOwn.push_back(i);
    for (std::size_t j = 0; j < reference.size(); ++j)
        if (!referenceUsed[j]) m.onlyReference.push_back(j);
    return m;
}

std::vector<Disagreement> disagreements(std::span<const Boundary> own, std::span<const Boundary> reference,
                                        const Matching& matching, bool levels) {
    std::vector<Disagreement> found;
    for (const std::size_t i : matching.onlyOwn) found.push_back({own[i].position, own[i].level, 0});
    for (const std::size_t j : matching.onlyReference) found.push_back({reference[j].position, 0, reference[j].level});
    for (const Pair& pair : matching.pairs) {
        const Boundary& a = own[pair.own];
        const Boundary& b = reference[pair.reference];
        if (levels && a.level != b.level) found.push_back({a.position, a.level, b.level});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Disagreement& a, const Disagreement& b) { return a.position < b.position; });
    return found;
}

Comparison tallyComparison(std::span<const Boundary> own, std::span<const Boundary> reference, const Matching& matching,
                           long positions, std::span<const std::pair<long, QString>> labels,
                           const std::function<bool(int)>& isYear) {
    Comparison result;
    long first = 1;
    for (const auto& [at, text] : labels) {
        if (at < first || at > positions) continue;
        result.intervals.push_back({first, at, text, {}});
        first = at + 1;
    }
    result.intervals.push_back({first, std::max(first, positions), QString(), {}});
    // The interval holding a position: the first whose last position is not above it.
    const auto tallyAt = [&result](long position) -> Tally& {
        const auto it = std::lower_bound(result.intervals.begin(), result.intervals.end(), position,
                                         [](const Interval& interval, long p) { return interval.last < p; });
        return it == result.intervals.end() ? result.intervals.back().tally : it->tally;
    };
    const auto add = [&](long position, const auto& change) {
        change(result.whole);
        change(tallyAt(position));
    };
    // Years are varves as the chronology has them: from one year boundary to the next, each counted
    // in the interval of its top boundary, so the lowest year boundary starts none.
    const auto lowestYear = [&isYear](std::span<const Boundary> list) {
        const auto it = std::find_if(list.rbegin(), list.rend(), [&isYear](const Boundary& b) { return isYear(b.level); });
        return it == list.rend() ? list.size() : static_cast<std::size_t>(list.rend() - it) - 1;
    };
    const std::size_t ownLowest = lowestYear(own), referenceLowest = lowestYear(reference);
    for (std::size_t i = 0; i < own.size(); ++i) {
        const Boundary& b = own[i];
        add(b.position, [&](Tally& t) {
            count(t.own, b.level);
            t.ownYears += isYear(b.level) && i != ownLowest ? 1 : 0;
        });
    }
    for (std::size_t j = 0; j < reference.size(); ++j) {
        const Boundary& b = reference[j];
        add(b.position, [&](Tally& t) {
            count(t.reference, b.level);
            t.referenceYears += isYear(b.level) && j != referenceLowest ? 1 : 0;
        });
    }
    for (const Pair& pair : matching.pairs) add(own[pair.own].position, [](Tally& t) { ++t.matched; });
    for (const std::size_t i : matching.onlyOwn) add(own[i].position, [](Tally& t) { ++t.onlyOwn; });
    for (const std::size_t j : matching.onlyReference) add(reference[j].position, [](Tally& t) { ++t.onlyReference; });
    return result;
}

}  // namespace compare
