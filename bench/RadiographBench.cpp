// Radiograph import, re-rendering after a brightness change, and the grey profile.
#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "SynthCore.h"
#include "app/SharedState.h"
#include "app/windows/Forms.h"
#include "app/windows/MainForm.h"
#include "app/windows/Recovery.h"
#include "app/windows/Settings.h"
#include "radiograph/GreyProfile.h"
#include "radiograph/windows/PreviewForm.h"
#include "radiograph/windows/RawImageForm.h"
#include "radiograph/windows/Rendering.h"
#include "ui/Screen.h"

namespace bench {

namespace {
// A section of today's scanners: 100000 columns.
constexpr int kLargeCoreColumns = 100000;

QTemporaryDir& tempDir() {
    static QTemporaryDir dir;
    return dir;
}

}  // namespace

// A fresh program (settings from a copy of the shipped file, a wide screen) ready to import.
void freshCount(long rows) {
    freshProgram();
    app::DataLength = rows;
    app::XrfLoaded = true;
    for (core::Array<QString>* texts : {&app::MarkerLabel, &app::MarkerNote}) {
        texts->redim(0, rows);
        for (long p = 0; p <= rows; ++p) (*texts)(p) = app::kNoMarker;
    }
    app::YearMark.redim(0, rows);
    for (long p = 0; p <= rows; ++p) app::YearMark(p) = core::Variant(app::kNoMarker);
}

void freshProgram() {
    app::unloadAllForms();
    app::resetSharedState();
    ui::screen::overrideSizePixels(4000, 2000);
    const QString settings = tempPath("References/Stratalyser_References.csv");
    if (!QFile::exists(settings)) {
        QDir(tempDir().path()).mkpath("References");
        QFile::copy(QStringLiteral(STRATALYSER_SOURCE_DIR "/References/Stratalyser_References.csv"),
                    settings);
    }
    app::setSettingsFilePath(settings);
    app::setRecoveryFolder(tempPath("recovery"));
    app::frmMain->Show();
}

void importFile(const QString& path) {
    app::frmMain->ImportRadiograph(path);
}

long residentKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    }
    return 0;
}

QString tempPath(const QString& name) {
    return tempDir().filePath(name);
}

double adjustColumns = 0;

QString bigRadiographJpeg(bool colour) {
    const QString path = tempPath(colour ? "big-colour.jpg" : "big-grey.jpg");
    if (!QFile::exists(path)) synth::makeVarvedCore(30000, 1000, colour).radiograph.save(path, "JPEG", 90);
    return path;
}

// The synthetic radiograph as a 16-bit grey TIFF (raw values 8 x the 8-bit ones, plus 300, as a
// scanner's would be), made on first use.
QString bigRadiographTiff16(int width) {
    const QString path = tempPath(QStringLiteral("big-grey16-%1.tif").arg(width));
    if (!QFile::exists(path)) {
        const QImage grey = synth::makeVarvedCore(width, 1000, false).radiograph;
        QImage wide(grey.size(), QImage::Format_Grayscale16);
        for (int y = 0; y < grey.height(); ++y) {
            const uchar* in = grey.constScanLine(y);
            auto* out = reinterpret_cast<quint16*>(wide.scanLine(y));
            for (int x = 0; x < grey.width(); ++x) out[x] = static_cast<quint16>(in[x] * 8 + 300);
        }
        QImageWriter writer(path, "tiff");
        writer.write(wide);
    }
    return path;
}

QString largeRadiographPath() {
    return bigRadiographTiff16(kLargeCoreColumns);
}

// A whole session on the large core in this process: the radiograph and the table imported, a
// count made, autosaved and saved. What it prints: the peak over the picture's pixel bytes as its
// file holds them plus the table file's bytes.
int runSessionPeakChild(const QString& radiograph, const QString& table) {
    freshProgram();
    const long before = residentKb("VmRSS:");
    importFile(radiograph);
    app::frmMain->ImportXRFdata(table);
    if (!app::XrfLoaded || app::DataLength != kLargeCoreColumns) return 1;
    for (long p = 10; p <= app::DataLength; p += 10) app::YearMark(p) = core::Variant(core::Integer{1});
    app::Saved = false;
    app::WriteRecoveryCopy();
    app::FinishRecoveryWrite();
    if (!app::frmMain->SaveWorkingFileAs(tempPath(QStringLiteral("session.csv")))) return 1;
    const long peak = residentKb("VmHWM:");
    const QImage& picture = app::radiographSource();
    const double imageBytes = 2.0 * picture.width() * picture.height();  // 16 bits a pixel in the file
    std::printf("%.4f\n",
                (peak - before) * 1024.0 / (imageBytes + static_cast<double>(QFileInfo(table).size())));
    app::RemoveRecoveryCopy();
    app::unloadAllForms();
    return 0;
}

// The same core as an 8-bit grey TIFF, as a scanner's 8-bit export is.
QString bigRadiographTiff8(int width) {
    const QString path = tempPath(QStringLiteral("big-grey8-%1.tif").arg(width));
    if (!QFile::exists(path))
        QImageWriter(path, "tiff").write(synth::makeVarvedCore(width, 1000, false).radiograph);
    return path;
}

int runImportPeakChild(const QString& jpeg) {
    freshProgram();
    const long before = residentKb("VmRSS:");
    importFile(jpeg);
    const long peak = residentKb("VmHWM:");
    const double decoded = app::radiographSource().sizeInBytes() / 1024.0;
    std::printf("%.4f\n", (peak - before) / decoded);
    app::unloadAllForms();
    return 0;
}

// The floor of a 16-bit import: decoding the TIFF and one pass over its pixels.
void BM_DecodeTiff16Pass(benchmark::State& state) {
    const QString path = bigRadiographTiff16(30000);
    for (auto _ : state) {
        QImageReader::setAllocationLimit(2048);
        QImageReader reader(path);
        const QImage image = reader.read();
        std::uint64_t sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const quint16*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) sum += row[x];
        }
        benchmark::DoNotOptimize(sum);
    }
}

// Imports of one file into fresh programs, through the grey curve drawn in curve window 1.
void timeImports(benchmark::State& state, const QString& path, long width = 30000) {
    for (auto _ : state) {
        state.PauseTiming();
        freshProgram();
        state.ResumeTiming();
        importFile(path);
    }
    if (app::DataLength != width) state.SkipWithError("import failed");
}

// The 16-bit import.
void BM_ImportTiff16(benchmark::State& state) {
    timeImports(state, bigRadiographTiff16(30000));
}

// The large core's radiograph, 100000 x 1000 pixels of 8 or 16 bits (the argument): its import,
// and its decode alone.
QString largeRadiograph(const benchmark::State& state) {
    return state.range(0) == 8 ? bigRadiographTiff8(kLargeCoreColumns)
                               : bigRadiographTiff16(kLargeCoreColumns);
}

void BM_ImportLargeRadiograph(benchmark::State& state) {
    timeImports(state, largeRadiograph(state), kLargeCoreColumns);
}

void BM_DecodeLargeRadiograph(benchmark::State& state) {
    const QString path = largeRadiograph(state);
    for (auto _ : state) {
        QImageReader::setAllocationLimit(4096);
        QImageReader reader(path);
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
        if (image.width() != kLargeCoreColumns) state.SkipWithError("decode failed");
    }
}

// Decoding the file alone: the floor of an import.
void BM_DecodeJpeg(benchmark::State& state) {
    const QString path = bigRadiographJpeg(state.range(0) != 0);
    for (auto _ : state) {
        QImageReader::setAllocationLimit(2048);
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The whole import of the JPEG.
void BM_ImportRadiograph(benchmark::State& state) {
    timeImports(state, bigRadiographJpeg(state.range(0) != 0));
}

// A brightness change: the preview plus a 1000-row, 1900-column section into all six windows.
void BM_AdjustChange(benchmark::State& state) {
    freshProgram();
    importFile(bigRadiographJpeg(false));
    app::PreviewForm& preview = app::frmPreview.get();
    preview.sectionFrame->setWidth(1900.0 * preview.previewImage->Width() / 30000.0);
    app::frmRawImage->sectionFrame->setWidth(preview.sectionFrame->Width());
    app::RenderSection();
    adjustColumns = static_cast<double>(app::ViewRight - app::ViewLeft);
    int value = 0;
    for (auto _ : state) {
        value = value == 10 ? -10 : 10;
        app::frmMain->radiographSliders(0)->setValue(value);
    }
}

void BM_GreyProfile300(benchmark::State& state) {
    const QImage source = synth::makeVarvedCore(30000, 1000, state.range(0) != 0).radiograph;
    for (auto _ : state) {
        auto profile = radiograph::greyProfile(source, 350, 649);
        benchmark::DoNotOptimize(profile.data());
    }
}

// The floor of the colour profile: reading the band's bytes once (a plain copy of them).
void BM_BandCopy(benchmark::State& state) {
    const QImage source = synth::makeVarvedCore(30000, 1000, true).radiograph;
    std::vector<uchar> target(static_cast<std::size_t>(source.bytesPerLine()) * 300);
    for (auto _ : state) {
        std::memcpy(target.data(), source.constScanLine(350), target.size());
        benchmark::DoNotOptimize(target.data());
    }
}

BENCHMARK(BM_DecodeJpeg)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportRadiograph)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeTiff16Pass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportTiff16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeLargeRadiograph)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportLargeRadiograph)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AdjustChange)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_GreyProfile300)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_BandCopy)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace bench
