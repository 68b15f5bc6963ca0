// The XRF import, the working-file save and the curve values, with their floors.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <charconv>
#include <cstdio>
#include <fstream>

#include "BenchSupport.h"
#include "SynthCore.h"
#include "core/BoundedArray.h"
#include "files/TextFile.h"
#include "files/WorkingFile.h"
#include "files/ScanRecord.h"
#include "files/XrfFile.h"
#include "files/XrfPlacement.h"

namespace bench {

namespace {

constexpr int kRows = 26000;
constexpr int kFields = 80;

// The scanner's table of a 26000-column core, 80 fields per row, in the tab or the comma form.
QString xrfTable(bool tabs) {
    const QString path = tempPath(tabs ? QStringLiteral("xrf-26000.txt") : QStringLiteral("xrf-26000.csv"));
    if (!QFile::exists(path)) {
        static const synth::VarvedCore core = synth::makeVarvedCore(kRows, 4);
        files::saveFileBytes(path, synth::makeXrfTable(core, tabs, kFields));
    }
    return path;
}

core::Array<core::Integer> greyProfile() {
    core::Array<core::Integer> grey(0, kRows);
    for (long i = 1; i <= kRows; ++i) grey(i) = static_cast<core::Integer>(i % 256);
    return grey;
}

// What the import does with the file's data: read it, parse every field into the table, build
// the curve table.
long importTable(const QString& path, const core::Array<core::Integer>& grey) {
    files::XrfContents x = files::readXrfFile(path);
    const core::CurveTable profile = files::buildCurveTable(x.data, x.headers, x.columnCount, x.rowCount, grey);
    return x.rowCount + profile.upper1();
}

// The floor: the same file read, and every field of it scanned once with std::from_chars.
long scanTable(const QString& path) {
    const QByteArray bytes = files::readFileBytes(path);
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    long numbers = 0;
    double sum = 0;
    while (p < end) {
        const char* fieldEnd = p;
        while (fieldEnd < end && *fieldEnd != ',' && *fieldEnd != '\t' && *fieldEnd != '\n' && *fieldEnd != '\r')
            ++fieldEnd;
        double v = 0;
        if (std::from_chars(p, fieldEnd, v).ec == std::errc()) {
            sum += v;
            ++numbers;
        }
        p = fieldEnd + 1;
    }
    benchmark::DoNotOptimize(sum);
    return numbers;
}

void BM_XrfRead(benchmark::State& state) {
    const QString path = xrfTable(state.range(0) != 0);
    for (auto _ : state) {
        QByteArray bytes = files::readFileBytes(path);
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_XrfScan(benchmark::State& state) {
    const QString path = xrfTable(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(scanTable(path));
}

void BM_XrfImport(benchmark::State& state) {
    const QString path = xrfTable(state.range(0) != 0);
    const core::Array<core::Integer> grey = greyProfile();
    for (auto _ : state) benchmark::DoNotOptimize(importTable(path, grey));
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

// The working file of that table with 2000 markers, 100 labels and 100 notes, written atomically.
void BM_WorkingSave(benchmark::State& state) {
    files::XrfContents x = files::readXrfTable(files::readFileBytes(xrfTable(true)));
    const core::CurveTable profile = files::buildCurveTable(x.data, x.headers, x.columnCount, kRows, greyProfile());
    core::Array<QString> headers(0, 500);
    for (int h = 0; h <= 500; ++h) headers(h) = x.headers[static_cast<std::size_t>(h)];
    core::Array<core::Variant> year(0, kRows, core::Variant("---"));
    core::Array<QString> label(0, kRows, QStringLiteral("---")), note(0, kRows, QStringLiteral("---"));
    for (long i = 1; i <= kRows; i += 13) year(i) = core::Variant(static_cast<core::Integer>(1 + i % 9));
    for (long i = 7; i <= kRows; i += 260) label(i) = QStringLiteral("#AD %1").arg(i);
    for (long i = 11; i <= kRows; i += 260) note(i) = QStringLiteral("#tephra, \"grey\" %1").arg(i);
    const QString path = tempPath(QStringLiteral("work.csv"));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray file = files::writeWorkingFile({kRows, x.columnCount, headers, x.data, profile, year, label, note});
        files::saveFileBytes(path, file);
        bytes = file.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The floor of a save: the same bytes written atomically.
void BM_WorkingWriteFloor(benchmark::State& state) {
    const QByteArray bytes = files::readFileBytes(tempPath(QStringLiteral("work.csv")));
    const QString path = tempPath(QStringLiteral("floor.csv"));
    for (auto _ : state) files::saveFileBytes(path, bytes);
}


// A 1 mm scan of 6000 measurements placed onto a 0.2 mm radiograph of 30000 columns, 60 fields a
// row; the floor is a copy of the placed table's cells.
constexpr int kCoarseRows = 6000, kPlacedColumns = 30000, kPlacedFields = 60;

void BM_MatchXrf(benchmark::State& state) {
    core::VariantTable data(0, kPlacedFields, 0, files::kMaxXrfRows);
    for (long i = 1; i <= kCoarseRows; ++i) {
        data(1, i) = core::Variant(QStringLiteral("L%1.spe").arg(i));
        for (long f = 2; f <= kPlacedFields; ++f) data.setNumber(f, i, f == 2 ? 0.5 + (i - 1) : double(i * f));
    }
    files::XrfPlacement plan;
    for (long i = 1; i <= kCoarseRows; ++i) plan.rowPositions.push_back(core::Millimetres(0.5 + (i - 1)));
    plan.rowStep = core::Millimetres(1);
    plan.positions.step = core::Millimetres(0.2);
    for (auto _ : state) benchmark::DoNotOptimize(files::placeXrfOnColumns(data, kPlacedFields, plan, kPlacedColumns));
}

void BM_MatchXrfCopyFloor(benchmark::State& state) {
    const std::vector<std::uint64_t> cells(std::size_t{kPlacedColumns} * (kPlacedFields + 1), 1);
    for (auto _ : state) {
        std::vector<std::uint64_t> copy = cells;
        benchmark::DoNotOptimize(copy.data());
    }
}

// The scanner's run record, read from disk as the import finds it.
void BM_ReadScanRecord(benchmark::State& state) {
    const QString path = tempPath(QStringLiteral("document.txt"));
    files::saveFileBytes(path,
                         "Station no:\tCore no:\tSection name\tUser ID\r\nC:\\Data\tCore\tSECTION 1\tme\r\n"
                         "Step size\t200\tmicrons\t\r\nXRF\tON\t\t\r\nStart coordinate\t0.0\tStop coordinate\t450.0\r\n");
    for (auto _ : state) benchmark::DoNotOptimize(files::scanRecordsBeside(path));
}

}  // namespace

double xrfImportPeakRatio(const QString& path) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--xrf-peak"), path});
    if (!child.waitForFinished(120000) || child.exitCode() != 0) return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

int runXrfPeakChild(const QString& path) {
    const core::Array<core::Integer> grey = greyProfile();
    { std::ofstream("/proc/self/clear_refs") << "5"; }  // the peak from here on
    const long before = residentKb("VmRSS:");
    benchmark::DoNotOptimize(importTable(path, grey));
    const long peak = residentKb("VmHWM:");
    std::printf("%.4f\n", (peak - before) * 1024.0 / static_cast<double>(QFileInfo(path).size()));
    return 0;
}

QString xrfTablePath(bool tabs) {
    return xrfTable(tabs);
}

BENCHMARK(BM_XrfRead)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_XrfScan)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_XrfImport)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WorkingSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WorkingWriteFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MatchXrf)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MatchXrfCopyFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ReadScanRecord)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace bench
