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
QString bigRadiographTiff16() {
    const QString path = tempPath("big-grey16.tif");
    if (!QFile::exists(path)) {
        const QImage grey = synth::makeVarvedCore(30000, 1000, false).radiograph;
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
    const QString path = bigRadiographTiff16();
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
void timeImports(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        state.PauseTiming();
        freshProgram();
        state.ResumeTiming();
        importFile(path);
    }
    if (app::DataLength != 30000) state.SkipWithError("import failed");
}

// The 16-bit import.
void BM_ImportTiff16(benchmark::State& state) {
    timeImports(state, bigRadiographTiff16());
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
BENCHMARK(BM_AdjustChange)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_GreyProfile300)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_BandCopy)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace bench
