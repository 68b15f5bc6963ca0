#include "compare/Matching.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <tuple>

namespace compare {

namespace {

// Positions rising, each once.
bool strictlyRising(std::span<const Boundary> list) {
    return std::adjacent_find(list.begin(), list.end(), [](const Boundary& a, const Boundary& b) {
               return !(a.position < b.position);
           }) == list.end();
}

struct Candidate {
    long distance;
    bool otherLevel;
    core::Position ownPosition;
    core::Position referencePosition;
    std::size_t own;
    std::size_t reference;
    auto key() const { return std::tie(distance, otherLevel, ownPosition, referencePosition, own, reference); }
};

void count(std::array<int, kLevels + 1>& levels, int level) {
    if (level >= 0 && level <= kLevels) ++levels[static_cast<std::size_t>(level)];
}

}  // namespace

Matching matchBoundaries(std::span<const Boundary> own, std::span<const Boundary> reference, long tolerance) {
    if (!strictlyRising(own) || !strictlyRising(reference)) throw std::invalid_argument("boundaries not sorted by position");
    tolerance = std::max(0L, tolerance);
    // One sweep: both lists merged by position, and the nearest pair of neighbours of the two
    // counts taken first. With each position once in a list, the nearest pair left always lies
    // side by side in what is left of the merged list; when a pair is taken, its outer neighbours
    // meet and may pair in turn. Time n log n and memory linear in the boundaries, whatever the
    // tolerance.
    struct Entry {
        core::Position position;
        bool isReference;
        std::size_t index;
    };
    std::vector<Entry> merged;
    merged.reserve(own.size() + reference.size());
    std::size_t j = 0;
    for (std::size_t i = 0; i < own.size(); ++i) {
        for (; j < reference.size() && reference[j].position < own[i].position; ++j) merged.push_back({reference[j].position, true, j});
        merged.push_back({own[i].position, false, i});
    }
    for (; j < reference.size(); ++j) merged.push_back({reference[j].position, true, j});
    constexpr std::size_t kNone = SIZE_MAX;
    const std::size_t n = merged.size();
    std::vector<std::size_t> previous(n), next(n);
    for (std::size_t k = 0; k < n; ++k) {
        previous[k] = k == 0 ? kNone : k - 1;
        next[k] = k + 1 < n ? k + 1 : kNone;
    }
    struct Neighbours {
        Candidate candidate;
        std::size_t left, right;  // in `merged`
    };
    const auto later = [](const Neighbours& a, const Neighbours& b) { return b.candidate.key() < a.candidate.key(); };
    std::vector<Neighbours> heap;
    const auto offer = [&](std::size_t left, std::size_t right) {
        if (left == kNone || right == kNone || merged[left].isReference == merged[right].isReference) return;
        const Entry& a = merged[merged[left].isReference ? right : left];
        const Entry& b = merged[merged[left].isReference ? left : right];
        const long distance = std::abs(a.position - b.position);
        if (distance > tolerance) return;
        heap.push_back({{distance, own[a.index].level != reference[b.index].level, a.position, b.position, a.index,
                         b.index},
                        left,
                        right});
        std::push_heap(heap.begin(), heap.end(), later);
    };
    for (std::size_t k = 0; k + 1 < n; ++k) offer(k, k + 1);
    std::vector<bool> ownUsed(own.size()), referenceUsed(reference.size()), taken(n);
    Matching m;
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), later);
        const Neighbours best = heap.back();
        heap.pop_back();
        if (taken[best.left] || taken[best.right] || next[best.left] != best.right) continue;
        taken[best.left] = taken[best.right] = true;
        ownUsed[best.candidate.own] = referenceUsed[best.candidate.reference] = true;
        m.pairs.push_back({best.candidate.own, best.candidate.reference});
        const std::size_t outerLeft = previous[best.left], outerRight = next[best.right];
        if (outerLeft != kNone) next[outerLeft] = outerRight;
        if (outerRight != kNone) previous[outerRight] = outerLeft;
        offer(outerLeft, outerRight);
    }
    std::sort(m.pairs.begin(), m.pairs.end(), [](const Pair& a, const Pair& b) { return a.own < b.own; });
    for (std::size_t i = 0; i < own.size(); ++i)
        if (!ownUsed[i]) m.onlyOwn.push_back(i);
    for (std::size_t k = 0; k < reference.size(); ++k)
        if (!referenceUsed[k]) m.onlyReference.push_back(k);
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

std::size_t intervalHolding(std::span<const Interval> intervals, long position) {
    const auto it = std::lower_bound(intervals.begin(), intervals.end(), position,
                                     [](const Interval& interval, long p) { return interval.last < p; });
    return it == intervals.end() ? intervals.size() - 1 : static_cast<std::size_t>(it - intervals.begin());
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
    const auto tallyAt = [&result](core::Position position) -> Tally& {
        return result.intervals[intervalHolding(result.intervals, position.value)].tally;
    };
    const auto add = [&](core::Position position, const auto& change) {
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
