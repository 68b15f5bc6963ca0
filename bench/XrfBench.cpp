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
// A core of today's scanners: 100000 rows of 80 elements (90 fields with the run values).
constexpr int kLargeRows = 100000, kLargeFields = 90;

// The scanner's table of a core of `rows` columns, `fields` fields per row, in the tab or the
// comma form.
QString xrfTable(bool tabs, int rows = kRows, int fields = kFields) {
    const QString path =
        tempPath(QStringLiteral("xrf-%1x%2.%3").arg(rows).arg(fields).arg(tabs ? "txt" : "csv"));
    if (!QFile::exists(path))
        files::saveFileBytes(path, synth::makeXrfTable(synth::makeVarvedCore(rows, 4), tabs, fields));
    return path;
}

core::Array<core::Integer> greyProfile(int rows = kRows) {
    core::Array<core::Integer> grey(0, rows);
    for (long i = 1; i <= rows; ++i) grey(i) = static_cast<core::Integer>(i % 256);
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

void BM_XrfScanLarge(benchmark::State& state) {
    const QString path = xrfTable(true, kLargeRows, kLargeFields);
    for (auto _ : state) benchmark::DoNotOptimize(scanTable(path));
}

void BM_XrfImportLarge(benchmark::State& state) {
    const QString path = xrfTable(true, kLargeRows, kLargeFields);
    const core::Array<core::Integer> grey = greyProfile(kLargeRows);
    for (auto _ : state) benchmark::DoNotOptimize(importTable(path, grey));
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void BM_XrfImport(benchmark::State& state) {
    const QString path = xrfTable(state.range(0) != 0);
    const core::Array<core::Integer> grey = greyProfile();
    for (auto _ : state) benchmark::DoNotOptimize(importTable(path, grey));
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

// The working file of that table with a marker every 13 rows, a label and a note every 260,
// written atomically; and of the 100000-row table with as many.
void BM_WorkingSave(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const QString table = rows == kRows ? xrfTable(true) : xrfTable(true, rows, kLargeFields);
    files::XrfContents x = files::readXrfFile(table);
    const core::CurveTable profile =
        files::buildCurveTable(x.data, x.headers, x.columnCount, rows, greyProfile(rows));
    core::Array<QString> headers(0, 500);
    for (int h = 0; h <= 500; ++h) headers(h) = x.headers[static_cast<std::size_t>(h)];
    core::Array<core::Variant> year(0, rows, core::Variant("---"));
    core::Array<QString> label(0, rows, QStringLiteral("---")), note(0, rows, QStringLiteral("---"));
    for (long i = 1; i <= rows; i += 13) year(i) = core::Variant(static_cast<core::Integer>(1 + i % 9));
    for (long i = 7; i <= rows; i += 260) label(i) = QStringLiteral("#AD %1").arg(i);
    for (long i = 11; i <= rows; i += 260) note(i) = QStringLiteral("#tephra, \"grey\" %1").arg(i);
    const QString path = tempPath(QStringLiteral("work-%1.csv").arg(rows));
    qint64 bytes = 0;
    for (auto _ : state) {
        const std::vector<std::string> parts =
            files::workingFileParts({rows, x.columnCount, headers, x.data, profile, year, label, note});
        files::saveFileParts(path, parts);
        bytes = 0;
        for (const std::string& part : parts) bytes += static_cast<qint64>(part.size());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The floor of a save: the same bytes written atomically.
void BM_WorkingWriteFloor(benchmark::State& state) {
    const QByteArray bytes = files::readFileBytes(tempPath(QStringLiteral("work-%1.csv").arg(state.range(0))),
                                                  files::kMaxTableBytes);
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

QString largeXrfTablePath() {
    return xrfTable(true, kLargeRows, kLargeFields);
}

double sessionPeakRatio() {
    const QString radiograph = largeRadiographPath(), table = largeXrfTablePath();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--session-peak"), radiograph, table});
    if (!child.waitForFinished(600000) || child.exitCode() != 0) return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

BENCHMARK(BM_XrfRead)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_XrfScan)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_XrfImport)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_XrfScanLarge)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_XrfImportLarge)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WorkingSave)->Arg(kRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WorkingWriteFloor)->Arg(kRows)->Arg(kLargeRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MatchXrf)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MatchXrfCopyFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ReadScanRecord)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace bench
