// The recovery copy of a 30000-row count (3000 markers, 200 labels, 200 notes) written after a
// change, and of a 100000-row count with as many of each per row.
#include <benchmark/benchmark.h>
#include <QDir>

#include "BenchSupport.h"
#include "app/SharedState.h"
#include "app/windows/Recovery.h"
#include "files/TextFile.h"

namespace bench {

namespace {

constexpr long kEveryMarker = 10, kEveryText = 150;

void countWithChanges(long rows) {
    freshCount(rows);
    for (long p = kEveryMarker; p <= rows; p += kEveryMarker)
        app::YearMark(p) = core::Variant(core::Integer{1});
    for (long p = kEveryText; p <= rows; p += kEveryText) {
        app::MarkerLabel(p) = QStringLiteral("#L%1").arg(p);
        app::MarkerNote(p - 7) = QStringLiteral("#note %1").arg(p - 7);
    }
    app::RadiographFileName = tempPath(QStringLiteral("core-%1.bmp").arg(rows));
    app::WorkingFileName = tempPath(QStringLiteral("Results.txt"));
    app::Saved = false;
}

// Each write follows a change (one marker's level), as after a key press.
void BM_Autosave(benchmark::State& state) {
    countWithChanges(state.range(0));
    int level = 1;
    for (auto _ : state) {
        level = level % 9 + 1;
        app::YearMark(kEveryMarker) = core::Variant(static_cast<core::Integer>(level));
        app::WriteRecoveryCopy();
        state.PauseTiming();  // the disk's part runs beside the program, seconds apart in use
        app::FinishRecoveryWrite();
        state.ResumeTiming();
    }
    app::RemoveRecoveryCopy();
    app::XrfLoaded = false;
}

// The floor: reading the copy's bytes back from its file.
void BM_AutosaveReadFloor(benchmark::State& state) {
    countWithChanges(state.range(0));
    app::WriteRecoveryCopy();
    app::FinishRecoveryWrite();
    const QString copy = QDir(app::RecoveryFolder()).entryInfoList({"recovery-*.csv"}, QDir::Files).value(0).filePath();
    for (auto _ : state) benchmark::DoNotOptimize(files::readFileBytes(copy).size());
    app::RemoveRecoveryCopy();
    app::XrfLoaded = false;
}

}  // namespace

BENCHMARK(BM_Autosave)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_AutosaveReadFloor)->Arg(30000)->Arg(100000)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace bench
