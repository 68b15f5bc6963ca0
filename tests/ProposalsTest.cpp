#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "SynthCore.h"
#include "proposals/Proposals.h"

using proposals::proposeBoundaries;
using proposals::Transition;

namespace {
std::vector<long> columnsOf(const std::vector<proposals::Proposal>& found) {
    std::vector<long> columns;
    for (const auto& p : found) columns.push_back(p.column);
    return columns;
}
}  // namespace

// On noisy cores with known boundaries (6..60 columns thick, contrast 30..80, a slow trend), the
// proposals at the default sensitivity meet the true boundaries within 2 columns, over three cores
// of 30000 columns at each noise level.
TEST(ProposalsTest, RecallAndPrecisionOnNoisyCores) {
    const double floor[] = {0, 0.95, 0.95, 0.85};
    for (int level = 1; level <= 3; ++level) {
        synth::Agreement mean{0, 0};
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const synth::VarvedCore core = synth::makeNoisyCore(30000, 4, level, seed);
            const std::vector<float> values(core.columnGrey.begin(), core.columnGrey.end());
            const auto a =
                synth::agreement(core.boundaries, columnsOf(proposeBoundaries(values, {Transition::Either, 6})), 2);
            mean.recall += a.recall / 3, mean.precision += a.precision / 3;
        }
        EXPECT_GE(mean.recall, floor[level]) << "noise level " << level;
        EXPECT_GE(mean.precision, floor[level]) << "noise level " << level;
    }
}

// Between its ends each step of the sensitivity proposes more on a noisy core.
TEST(ProposalsTest, TheSensitivityProposesMoreStepByStep) {
    const synth::VarvedCore core = synth::makeNoisyCore(6000, 4, 3, 1);
    const std::vector<float> values(core.columnGrey.begin(), core.columnGrey.end());
    std::size_t fewer = 0;
    for (const int sensitivity : {0, 20, 40, 50, 60, 80, 100}) {
        const std::size_t found = proposeBoundaries(values, {Transition::Either, 6, sensitivity}).size();
        EXPECT_GT(found, std::exchange(fewer, found)) << sensitivity;
    }
}

// One direction alone, and curves with nothing to propose: flat, missing, too short for the
// thickness, a sensitivity out of range.
TEST(ProposalsTest, OneDirectionAndCurvesWithNothingToPropose) {
    std::vector<float> steps(60, 10.0f);
    for (std::size_t i = 20; i < 40; ++i) steps[i] = 50.0f;  // rises at 20, falls at 40
    EXPECT_EQ(columnsOf(proposeBoundaries(steps, {Transition::Either, 6})), (std::vector<long>{20, 40}));
    EXPECT_EQ(columnsOf(proposeBoundaries(steps, {Transition::Rising, 6})), std::vector<long>{20});
    EXPECT_EQ(columnsOf(proposeBoundaries(steps, {Transition::Falling, 6, 1000})), std::vector<long>{40});
    EXPECT_EQ(columnsOf(proposeBoundaries(steps, {Transition::Either, 1e9, -5})), std::vector<long>{});
    std::vector<float> gaps = steps;
    for (std::size_t i = 15; i < 45; ++i) gaps[i] = i % 2 ? -9999.0f : std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(proposeBoundaries(gaps, {}).empty());
    EXPECT_TRUE(proposeBoundaries(std::vector<float>(30000, 7.0f), {}).empty());
    EXPECT_TRUE(proposeBoundaries(std::vector<float>(30000, -9999.0f), {}).empty());
    EXPECT_TRUE(proposeBoundaries(std::vector<float>{3.0f}, {}).empty());
    EXPECT_TRUE(proposeBoundaries({}, {}).empty());
}
