#include "SynthCore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numbers>
#include <random>

namespace synth {

namespace {

// The radiograph of columns of the core's greys: uniform over the middle rows, half as grey above
// and below them.
void paintRadiograph(VarvedCore& core, int width, int height, bool colour) {
    core.middleTop = height / 4;
    core.middleBottom = 3 * height / 4 - 1;
    core.radiograph = QImage(width, height, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        const bool middle = y >= core.middleTop && y <= core.middleBottom;
        uchar* row = core.radiograph.scanLine(y);
        for (int c = 0; c < width; ++c) {
            const int g = middle ? core.columnGrey[static_cast<std::size_t>(c)]
                                 : core.columnGrey[static_cast<std::size_t>(c)] / 2;
            if (colour) {
                reinterpret_cast<QRgb*>(row)[c] = qRgb(g + 10, g, g - 10);
            } else {
                row[c] = static_cast<uchar>(g);
            }
        }
    }
}

}  // namespace

VarvedCore makeVarvedCore(int width, int height, bool colour, unsigned seed) {
    VarvedCore core = layVarvedCore(width, seed);
    paintRadiograph(core, width, height, colour);
    return core;
}

VarvedCore layVarvedCore(int width, unsigned seed) {
    VarvedCore core;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> thickness(4, 12), shade(-15, 15);
    core.columnGrey.resize(static_cast<std::size_t>(width));
    bool light = true;
    int x = 0;
    while (x < width) {
        const int t = thickness(random);
        const int grey = (light ? 170 : 80) + shade(random);
        for (int i = 0; i < t && x < width; ++i, ++x) core.columnGrey[static_cast<std::size_t>(x)] = grey;
        if (x < width) core.boundaries.push_back(x);
        light = !light;
    }
    return core;
}

VarvedCore makeNoisyCore(int width, int height, int noiseLevel, unsigned seed) {
    constexpr double kNoisePerLevel[] = {0, 0.1, 0.25, 0.5};
    constexpr double kTrendGrey = 25, kTrendColumns = 4000;  // the mean grey wanders this far, this slowly
    const double noise = kNoisePerLevel[std::clamp(noiseLevel, 0, 3)];
    VarvedCore core;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> thickness(6, 60), contrast(30, 80);
    std::normal_distribution<double> gauss(0, 1);
    core.columnGrey.resize(static_cast<std::size_t>(width));
    bool light = true;
    int x = 0;
    while (x < width) {
        const int t = thickness(random), c = contrast(random);
        for (int i = 0; i < t && x < width; ++i, ++x) {
            const double mean = 128 + kTrendGrey * std::sin(2 * std::numbers::pi * x / kTrendColumns);
            const double grey = mean + (light ? c : -c) / 2.0 + noise * c * gauss(random);
            core.columnGrey[static_cast<std::size_t>(x)] = std::clamp(static_cast<int>(std::lround(grey)), 0, 255);
        }
        if (x < width) core.boundaries.push_back(x);
        light = !light;
    }
    paintRadiograph(core, width, height, false);
    return core;
}

Agreement agreement(const std::vector<int>& truth, const std::vector<long>& found, int tolerance) {
    // Both sorted: walk them together, pairing a true boundary with the first unpaired found one
    // within reach.
    std::size_t f = 0, matched = 0;
    for (const int t : truth) {
        while (f < found.size() && found[f] < t - tolerance) ++f;
        if (f < found.size() && found[f] <= t + tolerance) ++matched, ++f;
    }
    Agreement a;
    if (!truth.empty()) a.recall = static_cast<double>(matched) / static_cast<double>(truth.size());
    if (!found.empty()) a.precision = static_cast<double>(matched) / static_cast<double>(found.size());
    return a;
}

std::vector<QString> xrfColumnNames(int fields) {
    static const char* const kNames[] = {
        "position (mm)", "sample surface", "validity", "E-gain", "E-offset", "F-slope", "F-offset", "kcps", "MSE",
        "Mg", "Al", "Si", "P", "S", "Cl", "Ar", "K", "Ca", "Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu",
        "Zn", "Ga", "As", "Se", "Br", "Rb", "Sr", "Y", "Zr", "Sn", "Cs", "Ba", "Ta", "W", "Ir", "Pt", "Au",
        "Hg", "Pb", "Th", "U", "D1", "S1", "S2", "S3", "Mo inc", "Mo coh"};
    std::vector<QString> names;
    for (int f = 2; f <= fields; ++f) {
        const auto i = static_cast<std::size_t>(f - 2);
        names.push_back(i < std::size(kNames) ? QString::fromLatin1(kNames[i]) : QStringLiteral("X%1").arg(f));
    }
    return names;
}

QByteArray makeXrfTable(const VarvedCore& core, bool tabs, int fields, int stepMicrons, unsigned seed) {
    const int n = static_cast<int>(core.columnGrey.size());
    const std::vector<QString> names = xrfColumnNames(fields);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(0, 20), counts(0, 99999);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(n) * fields * 6 + 1024);
    const char sep = tabs ? '\t' : ',';
    const auto text = [&](const QString& t) {
        if (tabs) {
            out.append(t.toUtf8());
        } else {
            out.append('"').append(t.toUtf8()).append('"');
        }
    };
    const auto endLine = [&](bool last) {
        if (tabs) out.append('\t');
        if (!last || !tabs) out.append("\r\n");
    };
    text(QStringLiteral("C:\\Data\\ITRAX\\SYNTH 1\\XRF data     01/02/2026  re-evaluated data"));
    endLine(false);
    text(QStringLiteral("peakarea"));
    endLine(false);
    text(QStringLiteral("filename"));
    for (const QString& name : names) {
        out.append(sep);
        text(name);
    }
    endLine(false);
    char buffer[32];
    for (int p = 1; p <= n; ++p) {
        const int grey = core.columnGrey[static_cast<std::size_t>(n - p)];
        const int dark = 255 - grey;  // larger in the dark laminae
        text(QStringLiteral("C:\\Data\\ITRAX\\SYNTH 1\\XRF data\\L%1.spe").arg(p - 1, 6, 10, QLatin1Char('0')));
        const double position = 0.01 + (p - 1) * stepMicrons / 1000.0;
        std::snprintf(buffer, sizeof buffer, "%.2f", position);
        out.append(sep).append(buffer);
        out.append(sep).append("7.06").append(sep).append('1');
        out.append(sep).append("0.018351").append(sep).append("-0.011556").append(sep).append("0.007596");
        out.append(sep).append("0.106728");
        std::snprintf(buffer, sizeof buffer, "%.5f", 3000.0 + dark * 10 + noise(random));
        out.append(sep).append(buffer);
        out.append(sep).append("1.04");
        for (int f = 11; f <= fields; ++f) {
            const QString& name = names[static_cast<std::size_t>(f - 2)];
            int value = noise(random);
            if (name == QLatin1String("Fe")) value += 20000 + dark * 100;
            else if (name == QLatin1String("Ti")) value += 800 + dark * 10;
            else if (name == QLatin1String("K")) value += 400 + dark * 5;
            else if (name == QLatin1String("Zr")) value += 150 + dark;
            else if (name == QLatin1String("Mn")) value += 100 + grey * 2;
            else value = counts(random);  // the other elements: counts without the laminae
            out.append(sep).append(QByteArray::number(value));
        }
        endLine(p == n);
    }
    return out;
}

}  // namespace synth
