// Two counts of a 30000-row and of a 100000-row core compared: matched and the compare window's table built.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "compare/windows/CompareForm.h"

namespace bench {

namespace {

constexpr long kEvery = 10, kLabelEvery = 1000;

// 3000 boundaries of three levels, a label every 1000 rows; the reference the same boundaries a
// row or two off, every 50th left out and one added between.
void twoCounts(long rows = 30000) {
    freshCount(rows);
    app::ReferenceMarks = {};
    for (long p = kLabelEvery; p <= rows; p += kLabelEvery)
        app::MarkerLabel(p) = QStringLiteral("#L%1").arg(p);
    for (long p = kEvery; p <= rows; p += kEvery) {
        const int level = p % 30 == 0 ? 3 : p % 70 == 0 ? 2 : 1;
        app::YearMark(p) = core::Variant(static_cast<core::Integer>(level));
        if (p % 500 == 0) continue;
        app::ReferenceMarks.boundaries.push_back({p - (p / kEvery) % 3, level});
        if (p % 490 == 0) app::ReferenceMarks.boundaries.push_back({p + kEvery / 2, 1});
    }
    app::ReferenceFileName = QStringLiteral("reference.csv");
    app::frmCompare->proposalsCheck->setValue(0);
    app::frmCompare->Show();
}

void BM_Compare(benchmark::State& state) {
    twoCounts(state.range(0));
    for (auto _ : state) app::frmCompare->refresh();
    app::DropReferenceCount();
}

// The same at the widest tolerance the window takes: the matching's cost does not grow with it.
void BM_Compare30000WidestTolerance(benchmark::State& state) {
    twoCounts();
    app::frmCompare->toleranceBox->setText(QString::number(app::CompareForm::kMaxTolerance));
    app::frmCompare->compareButton_Click();
    for (auto _ : state) app::frmCompare->refresh();
    app::frmCompare->toleranceBox->setText(QStringLiteral("3"));
    app::frmCompare->compareButton_Click();
    app::DropReferenceCount();
}

// The floor: a copy of the markers the comparison reads.
void BM_CompareCopyFloor(benchmark::State& state) {
    twoCounts();
    for (auto _ : state) {
        core::Array<core::Variant> copy = app::YearMark;
        benchmark::DoNotOptimize(&copy);
    }
    app::DropReferenceCount();
}

}  // namespace

BENCHMARK(BM_Compare)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Compare30000WidestTolerance)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CompareCopyFloor)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace bench
