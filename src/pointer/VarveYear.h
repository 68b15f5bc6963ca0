#pragma once

#include <algorithm>
#include <optional>
#include <vector>

// The calendar year of the varve under the pointer, as the chronology counts it: the topmost varve,
// from the first year boundary to the second, has the calendar year given for it; each varve below
// is a year older.
namespace pointer {

// yearBoundaries: the positions of the year boundaries, from the top (ascending). A boundary belongs
// to the varve below it; above the first boundary and below the last there is no varve.
inline std::optional<int> varveYearAt(const std::vector<long>& yearBoundaries, long position, int topYear) {
    const auto above = std::upper_bound(yearBoundaries.begin(), yearBoundaries.end(), position);
    const auto boundariesAbove = above - yearBoundaries.begin();
    if (boundariesAbove == 0 || above == yearBoundaries.end()) return std::nullopt;
    return topYear - static_cast<int>(boundariesAbove - 1);
}

}  // namespace pointer
