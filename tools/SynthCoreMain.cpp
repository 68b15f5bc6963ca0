// stratalyser-synth-core OUTDIR [WIDTH HEIGHT [colour]]: writes a synthetic varved core as
// radiograph.bmp and radiograph.jpg (up to 65535 columns), its XRF table as Results.txt (the scanner's tab
// form) and Results.csv (comma form), and laminae.csv with the column where each lamina starts.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "SynthCore.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: stratalyser-synth-core OUTDIR [WIDTH HEIGHT [colour]]\n");
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.path());
    const int width = args.size() > 3 ? args[2].toInt() : 2000;
    const int height = args.size() > 3 ? args[3].toInt() : 80;
    const bool colour = args.size() > 4 && args[4] == QStringLiteral("colour");
    const synth::VarvedCore core = synth::makeVarvedCore(width, height, colour);
    QImage bmp = core.radiograph.format() == QImage::Format_Grayscale8
                     ? core.radiograph.convertToFormat(QImage::Format_RGB888)
                     : core.radiograph;
    constexpr int kWidestJpeg = 65535;  // the format counts its sides in 16 bits
    if (!bmp.save(out.filePath("radiograph.bmp"), "BMP") ||
        (width <= kWidestJpeg && !core.radiograph.save(out.filePath("radiograph.jpg"), "JPEG", 95))) {
        std::fprintf(stderr, "could not write the pictures\n");
        return 1;
    }
    for (const bool tabs : {true, false}) {
        QFile table(out.filePath(tabs ? "Results.txt" : "Results.csv"));
        if (!table.open(QIODevice::WriteOnly) || table.write(synth::makeXrfTable(core, tabs)) < 0) return 1;
    }
    QFile laminae(out.filePath("laminae.csv"));
    if (!laminae.open(QIODevice::WriteOnly)) return 1;
    laminae.write("\"column\"\r\n");
    for (int x : core.boundaries) laminae.write(QByteArray::number(x) + "\r\n");
    return 0;
}
