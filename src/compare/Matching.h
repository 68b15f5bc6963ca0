#pragma once

#include <QString>
#include <array>
#include <functional>
#include <span>
#include <vector>

#include "core/Places.h"

// Two countings of one core side by side: which boundaries of the one lie at a boundary of the
// other, and how the two counts differ per labelled interval.
namespace compare {

inline constexpr int kLevels = 9;

// A boundary at a data position with its level; level 0 stands for a boundary without one (a
// proposal). A plain number is a position too: the row of a working file.
struct Boundary {
    core::Position position;
    int level = 0;
    constexpr Boundary() = default;
    constexpr Boundary(core::Position at, int l) : position(at), level(l) {}
    constexpr Boundary(long row, int l) : position(row), level(l) {}
    bool operator==(const Boundary&) const = default;
};

struct Pair {
    std::size_t own = 0;  // index into the first list
    std::size_t reference = 0;
    bool operator==(const Pair&) const = default;
};

struct Matching {
    std::vector<Pair> pairs;           // by the first list's order
    std::vector<std::size_t> onlyOwn;  // indices, ascending
    std::vector<std::size_t> onlyReference;
};

// Matches two lists sorted by position: a boundary of the one and of the other are a pair when
// they lie within `tolerance` positions, each boundary in at most one pair, the nearest pairs
// first. Between pairs equally near, one of the same level goes first, then the one higher up
// (the smaller positions). A tolerance of 0 pairs equal positions only; a negative one is taken as 0.
// Throws std::invalid_argument when a list is not sorted or holds a position twice.
Matching matchBoundaries(std::span<const Boundary> own, std::span<const Boundary> reference, long tolerance);

// A boundary of one count with no partner in the other (level 0 on the side that has none), or a
// pair whose levels differ.
struct Disagreement {
    core::Position position;  // the own boundary's, or the reference's when it is alone
    int ownLevel = 0;
    int referenceLevel = 0;
    bool operator==(const Disagreement&) const = default;
};
// By position; with `levels`, the pairs of different levels too.
std::vector<Disagreement> disagreements(std::span<const Boundary> own, std::span<const Boundary> reference,
                                        const Matching& matching, bool levels);

// The two counts over a stretch of positions.
struct Tally {
    std::array<int, kLevels + 1> own{};  // [level]; [0] unused but for level-less boundaries
    std::array<int, kLevels + 1> reference{};
    int matched = 0;
    int onlyOwn = 0;
    int onlyReference = 0;
    int ownYears = 0;  // varves (year boundary to year boundary), by their top boundary
    int referenceYears = 0;
    int yearDifference() const { return ownYears - referenceYears; }
};

// The core cut after every labelled position of the own count: first .. the first label, the
// position after it .. the next label, and so on to the last position (each boundary in exactly
// one interval). `label` is the one closing the interval (empty for the last).
struct Interval {
    long first = 0;
    long last = 0;
    QString label;
    Tally tally;
};

struct Comparison {
    Tally whole;
    std::vector<Interval> intervals;
};

// Which of the intervals (in their order, not empty) holds a position: the first whose last position
// is not above it; the last one for a position past them all.
std::size_t intervalHolding(std::span<const Interval> intervals, long position);

// A pair counts as matched in the own boundary's interval; the year levels are those `isYear` takes,
// and a count's years are its varves as the chronology makes them: one fewer than its year boundaries.
Comparison tallyComparison(std::span<const Boundary> own, std::span<const Boundary> reference, const Matching& matching,
                           long positions, std::span<const std::pair<long, QString>> labels,
                           const std::function<bool(int)>& isYear);

}  // namespace compare
