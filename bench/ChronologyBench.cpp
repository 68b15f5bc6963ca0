// The chronology of a 30000-row core counted densely (a year boundary every second row, a season
// boundary between, an uncertain one every 70 rows, a label every 1000): saved as the table, and
// drawn in the chronology plot window; each beside a floor of the same run.
#include <benchmark/benchmark.h>

#include <QImage>

#include "BenchSupport.h"
#include "app/SharedState.h"
#include "app/windows/ChronologyForm.h"
#include "app/windows/Forms.h"
#include "chronology/windows/ChronologyPlotForm.h"
#include "files/Chronology.h"
#include "files/TextFile.h"

namespace bench {

namespace {

constexpr long kRows = 30000, kLabelEvery = 1000, kUncertainEvery = 70;

void denseCount() {
    freshCount(kRows);
    for (long p = 1; p <= kRows; ++p) {
        const int level = p % kUncertainEvery == 0 ? 2 : p % 2 == 0 ? 1 : files::kHalfYearLevel;
        app::YearMark(p) = core::Variant(static_cast<core::Integer>(level));
        if (p % kLabelEvery == 0) app::MarkerLabel(p) = QStringLiteral("#L%1").arg(p);
    }
}

files::ChronologyOptions options() {
    return {2013, QStringLiteral("S1"), 0, {}, files::kDefaultSeasonLevels, {}};
}

// What Save chronology does once its file is chosen: the varves counted, written and saved.
void BM_SaveChronology(benchmark::State& state) {
    denseCount();
    const QString path = tempPath(QStringLiteral("chronology.csv"));
    std::size_t varves = 0;
    for (auto _ : state) {
        const std::vector<files::Varve> counted = app::CurrentVarves(options());
        files::saveFileBytes(path, files::writeChronology(counted));
        varves = counted.size();
    }
    state.counters["varves"] = static_cast<double>(varves);
}

// The floor: the same bytes saved.
void BM_SaveChronologyWriteFloor(benchmark::State& state) {
    denseCount();
    const QString path = tempPath(QStringLiteral("chronology.csv"));
    const QByteArray bytes = files::writeChronology(app::CurrentVarves(options()));
    for (auto _ : state) files::saveFileBytes(path, bytes);
}

// The open plot window drawn again after a change of the count.
void BM_ChronologyPlot(benchmark::State& state) {
    denseCount();
    app::ShowChronologyPlot();
    for (auto _ : state) app::frmChronologyPlot->refresh();
}

// The floor: a copy of the window's picture.
void BM_ChronologyPlotCopyFloor(benchmark::State& state) {
    denseCount();
    app::ShowChronologyPlot();
    const QImage picture = app::frmChronologyPlot->figureBox->Picture();
    for (auto _ : state) {
        QImage copy = picture.copy();
        benchmark::DoNotOptimize(copy.bits());
    }
}

}  // namespace

BENCHMARK(BM_SaveChronology)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SaveChronologyWriteFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ChronologyPlot)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ChronologyPlotCopyFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace bench
