// Boundary proposals: their speed on a whole 30000- and 100000-column grey profile, and how well they meet
// the known boundaries of noisy synthetic cores.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "SynthCore.h"
#include "proposals/Proposals.h"

namespace bench {

namespace {

constexpr int kColumns = 30000, kThinnest = 6, kCores = 3;

std::vector<float> noisyProfile(int level, unsigned seed, std::vector<int>* truth = nullptr,
                                int columns = kColumns) {
    const synth::VarvedCore core = synth::makeNoisyCore(columns, 4, level, seed);
    if (truth) *truth = core.boundaries;
    return {core.columnGrey.begin(), core.columnGrey.end()};
}

void BM_Propose(benchmark::State& state) {
    const std::vector<float> values = noisyProfile(2, 1, nullptr, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(proposals::proposeBoundaries(values, {proposals::Transition::Either, kThinnest}));
}

// The floor: a copy of the profile's values.
void BM_ProposeCopyFloor(benchmark::State& state) {
    const std::vector<float> values = noisyProfile(2, 1, nullptr, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<float> copy = values;
        benchmark::DoNotOptimize(copy.data());
    }
}

}  // namespace

ProposalAgreement proposalAgreement(int noiseLevel) {
    ProposalAgreement mean;
    for (unsigned seed = 1; seed <= kCores; ++seed) {
        std::vector<int> truth;
        const std::vector<float> values = noisyProfile(noiseLevel, seed, &truth);
        std::vector<long> found;
        for (const auto& p : proposals::proposeBoundaries(values, {proposals::Transition::Either, kThinnest}))
            found.push_back(p.column);
        const synth::Agreement a = synth::agreement(truth, found, 2);
        mean.recall += a.recall / kCores;
        mean.precision += a.precision / kCores;
    }
    return mean;
}

BENCHMARK(BM_Propose)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ProposeCopyFloor)->Arg(30000)->Arg(100000)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace bench
