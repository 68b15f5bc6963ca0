#pragma once

#include <span>
#include <vector>

// Boundaries proposed on a curve for the counter to accept or reject: never markers themselves.
//
// The method, in short: the curve is split at its steepest transitions (a step filter: the mean of
// the next half-thickness minus the mean of the last one), at most one per smallest lamina
// thickness, strongest first. Each split is then judged against the whole stretches on either side
// (up to the neighbouring splits): the difference of their means over its uncertainty (a two-sample
// t value, which grows with the lamina's contrast against the noise and with the stretches'
// lengths). The weakest split below the threshold is merged away, its neighbours judged afresh, until
// every split left stands above it; each is finally moved to where it best divides its two
// stretches. A slow trend or noise inside a thick lamina makes weak splits that merge away; a thin
// lamina of clear contrast keeps its own.
namespace proposals {

// Which transitions mark a boundary, left to right as the values are given (as the plot shows them).
enum class Transition { Rising, Falling, Either };

struct ProposalSettings {
    Transition transition = Transition::Either;
    double thinnestColumns = 3;             // the smallest lamina thickness, in columns (at least 2 are used)
    int sensitivity = kDefaultSensitivity;  // 0 (only the plainest) .. 100 (every likely one)

    static constexpr int kDefaultSensitivity = 50;
};

struct Proposal {
    long column = 0;      // the first column of the new lamina (an index into the values)
    double strength = 0;  // its t value: how plain the transition stands out of the noise
};

// The proposals, by column. Missing values (-9999, or not finite) are left out of every mean; a curve
// with fewer than two thicknesses of values has none.
std::vector<Proposal> proposeBoundaries(std::span<const float> values, const ProposalSettings& settings);

// The t value a proposal needs at a sensitivity, and the part of its neighbours' larger step.
double thresholdFor(int sensitivity);
double relativeFor(int sensitivity);

}  // namespace proposals
