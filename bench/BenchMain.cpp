// stratalyser-bench: prints one line per figure, "name value unit".
//
// Every speed is also given as a ratio to a floor measured in the same run on the same bytes, so
// the figures compare across machines.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/windows/Settings.h"
#include "app/windows/FormRegistry.h"
#include "files/FieldSyntax.h"
#include "files/TextFile.h"
#include "ui/PictureBox.h"

namespace {

QString gXrfPath;
qint64 gXrfBytes = 0;

// An XRF-shaped table: 26000 rows of 80 fields, as the scanner's result file converted to commas.
QByteArray makeXrfTable(int rows, int fields) {
    files::FieldWriter w;
    w.writeLine({core::Variant("C:\\Data\\ITRAX\\CORE 1\\XRF data     07/08/2013  re-evaluated data")});
    w.writeLine({core::Variant("peakarea")});
    std::vector<core::Variant> header{core::Variant("filename")};
    for (int f = 1; f < fields; ++f) header.emplace_back(QStringLiteral("El%1").arg(f));
    w.writeLine(header);
    std::vector<core::Variant> row(static_cast<std::size_t>(fields));
    for (int i = 0; i < rows; ++i) {
        row[0] = core::Variant(
            QStringLiteral("C:\\Data\\ITRAX\\CORE 1\\XRF data\\L%1.spe").arg(i, 6, 10, QChar('0')));
        row[1] = core::Variant(0.01 + 0.2 * i);
        row[2] = core::Variant(6.75 + (i % 17) * 0.01);
        row[3] = core::Variant(core::Integer(1));
        for (int f = 4; f < 9; ++f) row[f] = core::Variant(0.018351 + f * 0.001 * (i % 13));
        for (int f = 9; f < fields; ++f) row[f] = core::Variant(core::Long((i * 7919 + f * 104729) % 130000));
        w.writeLine(row);
    }
    return w.bytes();
}

void BM_FileRead(benchmark::State& state) {
    for (auto _ : state) {
        QByteArray bytes = files::readFileBytes(gXrfPath);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * gXrfBytes);
}

// Reads every field of the bytes, as a file reader does.
void readEveryField(QByteArray bytes) {
    files::FieldReader reader(std::move(bytes));
    long fields = 0;
    while (!reader.atEnd()) {
        core::Variant v = reader.readField();
        benchmark::DoNotOptimize(v);
        ++fields;
    }
    benchmark::DoNotOptimize(fields);
}

void BM_FieldReader(benchmark::State& state) {
    for (auto _ : state) readEveryField(files::readFileBytes(gXrfPath));
    state.SetBytesProcessed(state.iterations() * gXrfBytes);
}

// A file with a long run of blank lines (8 MB of line ends between two values): each blank line
// is an empty field. The floor is a copy of the same bytes.
QByteArray blankLines() {
    static const QByteArray bytes = "1," + QByteArray("\r\n").repeated(4 << 20) + "2";
    return bytes;
}

void BM_FieldReaderBlankLines(benchmark::State& state) {
    const QByteArray bytes = blankLines();
    for (auto _ : state) readEveryField(bytes);
}

void BM_BlankLinesCopy(benchmark::State& state) {
    const QByteArray bytes = blankLines();
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
        benchmark::DoNotOptimize(copy.data());
    }
}

// A pointer move on a curve plot: clear the drawing layer, draw one vertical line.
void BM_ClsLine(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    QWidget window;
    ui::setUnit(&window, ui::Unit::Pixels);
    ui::PictureBox plot(&window);
    plot.place(0, 0, width, height);
    plot.setScale(0, 255, width, -255);
    for (int x = 0; x + 1 < width; ++x)
        plot.Line(x, (x * 37) % 255, x + 1, ((x + 1) * 37) % 255, core::rgb(0, 110, 90));
    plot.commit();
    int x = 0;
    for (auto _ : state) {
        plot.Cls();
        plot.Line(x, 255, x, 0, core::kPointerColour);
        x = (x + 7) % width;
    }
}

// The floor for Cls: copying the whole picture, which is what a naive clear would cost per move.
void BM_FullPictureCopy(benchmark::State& state) {
    QImage picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage image = picture.copy();
    for (auto _ : state) {
        std::memcpy(image.bits(), picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()));
        benchmark::DoNotOptimize(image.bits());
    }
}

BENCHMARK(BM_FileRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FieldReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FieldReaderBlankLines)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BlankLinesCopy)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ClsLine)->Args({2000, 300})->Args({2000, 1000})->Args({2000, 2000})->MinTime(0.5);
BENCHMARK(BM_FullPictureCopy)->Args({2000, 1000})->MinTime(0.5);

// Start-up of a fresh process of the program until its main window has been shown (it leaves at
// once then). The floor is a fresh process of a program that does nothing (/bin/true).
double processMilliseconds(const QString& program, const QStringList& arguments, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STRATALYSER_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
        // Its own copy of the settings: the program beside the benchmark keeps the user's.
        env.insert(QString::fromLatin1(app::kSettingsFileVariable), bench::tempPath(QStringLiteral("startup-settings.csv")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) return -1;
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];  // the median run
}

// pandas.read_csv of the same file, best of five, in seconds (Debian's pandas, for the system's
// Python; the bench command installs it). 0 when it cannot be run.
double pandasSeconds(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(STRATALYSER_SOURCE_DIR "/bench/pandas_read_csv.py"), path});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        std::printf("# pandas could not be run: %s\n", python.readAllStandardError().left(200).constData());
        return 0;
    }
    return python.readAllStandardOutput().split(' ').value(0).toDouble();
}

}  // namespace

double bench::importPeakRatio(const QString& jpeg) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--import-peak"), jpeg});
    if (!child.waitForFinished(120000) || child.exitCode() != 0) return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
}

namespace {

// Collects seconds per iteration of every run.
class Collector : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations <= 0) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            seconds[name] = run.real_accumulated_time / run.iterations;
        }
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--import-peak")
        return bench::runImportPeakChild(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && std::string(argv[1]) == "--session-peak")
        return bench::runSessionPeakChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 3 && std::string(argv[1]) == "--xrf-peak")
        return bench::runXrfPeakChild(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    gXrfPath = dir.filePath("xrf.csv");
    const QByteArray table = makeXrfTable(26000, 80);
    files::saveFileBytes(gXrfPath, table);
    gXrfBytes = table.size();

    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    auto figure = [](const char* name, double value, const char* unit) {
        std::printf("%s %.4g %s\n", name, value, unit);
    };
    const double read = collector.seconds["BM_FileRead"];
    const double parse = collector.seconds["BM_FieldReader"];
    std::printf("# generated XRF table: %lld bytes\n", static_cast<long long>(gXrfBytes));
    if (read > 0 && parse > 0) {
        figure("file_read_mbps", gXrfBytes / read / 1e6, "MB/s");
        figure("field_reader_mbps", gXrfBytes / parse / 1e6, "MB/s");
        figure("field_reader_vs_read", parse / read, "x");
    }
    figure("field_reader_blank_lines_8mb_ms", collector.seconds["BM_FieldReaderBlankLines"] * 1e3, "ms");
    if (collector.seconds["BM_BlankLinesCopy"] > 0) {
        figure("field_reader_blank_lines_vs_copy",
               collector.seconds["BM_FieldReaderBlankLines"] / collector.seconds["BM_BlankLinesCopy"], "x");
    }
    figure("cls_line_2000x300_ms", collector.seconds["BM_ClsLine/2000/300"] * 1e3, "ms");
    figure("cls_line_2000x1000_ms", collector.seconds["BM_ClsLine/2000/1000"] * 1e3, "ms");
    figure("cls_line_2000x2000_ms", collector.seconds["BM_ClsLine/2000/2000"] * 1e3, "ms");
    const double fullCopy = collector.seconds["BM_FullPictureCopy/2000/1000"];
    figure("full_picture_copy_2000x1000_ms", fullCopy * 1e3, "ms");
    if (fullCopy > 0)
        figure("cls_line_2000x1000_vs_copy", collector.seconds["BM_ClsLine/2000/1000"] / fullCopy, "x");
    auto ratio = [&](const char* name, const std::string& what, const std::string& floor) {
        const double w = collector.seconds[what], f = collector.seconds[floor];
        if (w > 0 && f > 0) figure(name, w / f, "x");
    };
    figure("decode_grey_jpeg_ms", collector.seconds["BM_DecodeJpeg/0"] * 1e3, "ms");
    figure("import_grey_jpeg_ms", collector.seconds["BM_ImportRadiograph/0"] * 1e3, "ms");
    ratio("import_grey_jpeg_ratio", "BM_ImportRadiograph/0", "BM_DecodeJpeg/0");
    figure("decode_colour_jpeg_ms", collector.seconds["BM_DecodeJpeg/1"] * 1e3, "ms");
    figure("import_colour_jpeg_ms", collector.seconds["BM_ImportRadiograph/1"] * 1e3, "ms");
    ratio("import_colour_jpeg_ratio", "BM_ImportRadiograph/1", "BM_DecodeJpeg/1");
    figure("decode_tiff16_pass_ms", collector.seconds["BM_DecodeTiff16Pass"] * 1e3, "ms");
    figure("import_tiff16_ms", collector.seconds["BM_ImportTiff16"] * 1e3, "ms");
    ratio("import_tiff16_ratio", "BM_ImportTiff16", "BM_DecodeTiff16Pass");
    figure("adjust_change_ms", collector.seconds["BM_AdjustChange"] * 1e3, "ms");
    figure("grey_profile_300_ms", collector.seconds["BM_GreyProfile300/0"] * 1e3, "ms");
    figure("adjust_change_columns", bench::adjustColumns, "columns");
    figure("grey_profile_300_colour_ms", collector.seconds["BM_GreyProfile300/1"] * 1e3, "ms");
    ratio("grey_profile_300_colour_vs_copy", "BM_GreyProfile300/1", "BM_BandCopy");
    figure("import_colour_peak_ratio", bench::importPeakRatio(bench::bigRadiographJpeg(true)), "x");
    figure("redraw_2000_ms", collector.seconds["BM_RedrawCurves/2000"] * 1e3, "ms");
    figure("redraw_30000_ms", collector.seconds["BM_RedrawCurves/30000"] * 1e3, "ms");
    figure("redraw_grey_2000_ms", collector.seconds["BM_RedrawGreyCurve/2000"] * 1e3, "ms");
    figure("redraw_grey_30000_ms", collector.seconds["BM_RedrawGreyCurve/30000"] * 1e3, "ms");
    figure("pointer_move_300_ms", collector.seconds["BM_PointerMove/300"] * 1e3, "ms");
    figure("pointer_move_2000_ms", collector.seconds["BM_PointerMove/2000"] * 1e3, "ms");
    figure("marker_key_ms", collector.seconds["BM_MarkerKey"] * 1e3, "ms");
    figure("accept_proposal_ms", collector.seconds["BM_AcceptProposal"] * 1e3, "ms");
    for (const bool tabs : {true, false}) {
        const std::string form = tabs ? "1" : "0";
        const std::string suffix = tabs ? "_tab" : "_comma";
        const QString path = bench::xrfTablePath(tabs);
        std::printf("# XRF table%s: %lld bytes\n", suffix.c_str(), static_cast<long long>(QFileInfo(path).size()));
        figure(("xrf_import_ms" + suffix).c_str(), collector.seconds["BM_XrfImport/" + form] * 1e3, "ms");
        figure(("xrf_scan_ms" + suffix).c_str(), collector.seconds["BM_XrfScan/" + form] * 1e3, "ms");
        ratio(("xrf_import_vs_read" + suffix).c_str(), "BM_XrfImport/" + form, "BM_XrfRead/" + form);
        ratio(("xrf_import_vs_scan" + suffix).c_str(), "BM_XrfImport/" + form, "BM_XrfScan/" + form);
        figure(("xrf_import_peak_ratio" + suffix).c_str(), bench::xrfImportPeakRatio(path), "x");
        const double ours = collector.seconds["BM_XrfImport/" + form];
        if (const double pandas = ours > 0 ? pandasSeconds(path) : 0; pandas > 0) {
            figure(("pandas_read_csv_ms" + suffix).c_str(), pandas * 1e3, "ms");
            // Our time over pandas': 0.5 is twice as fast.
            figure(("xrf_import_vs_pandas" + suffix).c_str(), ours / pandas, "x");
        }
    }
    figure("working_save_ms", collector.seconds["BM_WorkingSave/26000"] * 1e3, "ms");
    figure("match_xrf_30000_ms", collector.seconds["BM_MatchXrf"] * 1e3, "ms");
    ratio("match_xrf_30000_vs_copy", "BM_MatchXrf", "BM_MatchXrfCopyFloor");
    figure("scan_record_read_us", collector.seconds["BM_ReadScanRecord"] * 1e6, "us");
    figure("propose_30000_ms", collector.seconds["BM_Propose/30000"] * 1e3, "ms");
    ratio("propose_30000_vs_copy", "BM_Propose/30000", "BM_ProposeCopyFloor/30000");
    figure("compare_30000_ms", collector.seconds["BM_Compare/30000"] * 1e3, "ms");
    figure("compare_30000_widest_tolerance_ms", collector.seconds["BM_Compare30000WidestTolerance"] * 1e3, "ms");
    ratio("compare_30000_vs_copy", "BM_Compare/30000", "BM_CompareCopyFloor");
    figure("save_chronology_30000_ms", collector.seconds["BM_SaveChronology"] * 1e3, "ms");
    ratio("save_chronology_30000_vs_write", "BM_SaveChronology", "BM_SaveChronologyWriteFloor");
    figure("chronology_plot_30000_ms", collector.seconds["BM_ChronologyPlot"] * 1e3, "ms");
    ratio("chronology_plot_30000_vs_copy", "BM_ChronologyPlot", "BM_ChronologyPlotCopyFloor");
    figure("autosave_30000_ms", collector.seconds["BM_Autosave/30000"] * 1e3, "ms");
    ratio("autosave_30000_vs_read", "BM_Autosave/30000", "BM_AutosaveReadFloor/30000");
    for (int level = 1; level <= 3; ++level) {
        const bench::ProposalAgreement a = bench::proposalAgreement(level);
        figure(("propose_recall_noise_" + std::to_string(level)).c_str(), a.recall, "");
        figure(("propose_precision_noise_" + std::to_string(level)).c_str(), a.precision, "");
    }
    ratio("working_save_vs_write", "BM_WorkingSave/26000", "BM_WorkingWriteFloor/26000");
    figure("load_curve_values_30000_ms", collector.seconds["BM_LoadCurveValues"] * 1e3, "ms");
    figure("band_drag_step_ms", collector.seconds["BM_BandDragStep"] * 1e3, "ms");
    figure("draw_scale_30000_ms", collector.seconds["BM_DrawScale"] * 1e3, "ms");
    figure("elastic_overlay_move_300_ms", collector.seconds["BM_ElasticOverlayMove/300"] * 1e3, "ms");
    figure("elastic_overlay_move_2000_ms", collector.seconds["BM_ElasticOverlayMove/2000"] * 1e3, "ms");
    figure("section_drag_release_ms", collector.seconds["BM_SectionDragRelease"] * 1e3, "ms");
    // The photo is the colour JPEG of the radiograph benchmark: its decode is the floor.
    figure("photo_import_ms", collector.seconds["BM_ImportPhoto"] * 1e3, "ms");
    ratio("photo_import_vs_decode", "BM_ImportPhoto", "BM_DecodeJpeg/1");
    figure("crop_profile_300_ms", collector.seconds["BM_CropProfile300/0"] * 1e3, "ms");
    ratio("crop_profile_300_vs_copy", "BM_CropProfile300/0", "BM_CropBandCopy");
    figure("crop_profile_300_distinct_colour_share", bench::cropDistinctShare, "");
    figure("crop_profile_300_every_colour_distinct_ms", collector.seconds["BM_CropProfile300/1"] * 1e3, "ms");
    figure("photo_adjust_change_ms", collector.seconds["BM_PhotoAdjustChange"] * 1e3, "ms");
    figure("photo_adjust_strip_columns", bench::photoAdjustStripColumns, "columns");
    figure("photo_adjust_closeup_pixels", bench::photoAdjustCloseUpPixels, "pixels");
    // A core of today's scanners: 100000 columns, 80 elements.
    figure("import_xrf_100000_ms", collector.seconds["BM_XrfImportLarge"] * 1e3, "ms");
    ratio("import_xrf_100000_vs_scan", "BM_XrfImportLarge", "BM_XrfScanLarge");
    // The 8-bit grey TIFF; the 16-bit one is also brought to 8 bits, a pass over every pixel.
    figure("import_radiograph_100000_ms", collector.seconds["BM_ImportLargeRadiograph/8"] * 1e3, "ms");
    ratio("import_radiograph_100000_vs_decode", "BM_ImportLargeRadiograph/8", "BM_DecodeLargeRadiograph/8");
    figure("import_radiograph16_100000_ms", collector.seconds["BM_ImportLargeRadiograph/16"] * 1e3, "ms");
    ratio("import_radiograph16_100000_vs_decode", "BM_ImportLargeRadiograph/16",
          "BM_DecodeLargeRadiograph/16");
    figure("redraw_100000_ms", collector.seconds["BM_RedrawLargeCore"] * 1e3, "ms");
    figure("pointer_move_100000_ms", collector.seconds["BM_PointerMoveLargeCore"] * 1e3, "ms");
    figure("pointer_move_after_change_100000_ms",
           collector.seconds["BM_PointerMoveAfterChangeLargeCore"] * 1e3, "ms");
    figure("marker_key_100000_ms", collector.seconds["BM_MarkerKeyLargeCore"] * 1e3, "ms");
    figure("autosave_100000_ms", collector.seconds["BM_Autosave/100000"] * 1e3, "ms");
    figure("working_save_100000_ms", collector.seconds["BM_WorkingSave/100000"] * 1e3, "ms");
    ratio("working_save_100000_vs_write", "BM_WorkingSave/100000", "BM_WorkingWriteFloor/100000");
    figure("propose_100000_ms", collector.seconds["BM_Propose/100000"] * 1e3, "ms");
    figure("compare_100000_ms", collector.seconds["BM_Compare/100000"] * 1e3, "ms");
    figure("session_peak_100000_ratio", bench::sessionPeakRatio(), "x");
    app::unloadAllForms();

    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/stratalyser");
    const double startup = processMilliseconds(program, {}, 7);
    const double floor = processMilliseconds(QStringLiteral("/bin/true"), {}, 7);
    figure("startup_ms", startup, "ms");
    // From the process's start to the demonstration core drawn in every window.
    figure("demo_startup_ms", processMilliseconds(program, {QStringLiteral("--demo")}, 7), "ms");
    figure("process_floor_ms", floor, "ms");
    return 0;
}
